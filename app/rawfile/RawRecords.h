#pragma once
// Record structures of the raw survey file: one structure per record kind, one field per key, in key order.
//
// A raw survey file is line oriented; each line is a comma-separated record whose first field is the tag
// (two letters for standard records, four letters beginning with "QZ" for extension records) and whose
// other fields are a key immediately followed by its value ("NMJob 12", "BSN 4500123.25").
//
// Texts are kept as the 8-bit bytes of the file (any encoding, trimmed of blanks, tabs, CR and LF).
// Numbers are in the units of the file. A value-initialised record has empty texts and zero numbers,
// which is what a key missing from its line leaves behind. Fields the program never interprets
// ("stored and written back only") are kept exactly as read so that a saved file carries them on.
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

// The bytes of one text field. Texts of up to 31 bytes (nearly every text of a raw file: names, times,
// antenna types, codes) are held inline: a large job would otherwise make hundreds of thousands of small
// allocations, which cost more than all the rest of reading it.
class RawBytes {
  public:
    RawBytes() noexcept = default;
    RawBytes(std::string_view text) { init(text); }  // NOLINT: a text converts implicitly, like a string
    RawBytes(const char* text) : RawBytes(std::string_view(text)) {}
    RawBytes(const std::string& text) : RawBytes(std::string_view(text)) {}
    RawBytes(const RawBytes& other) { init(other.view()); }
    RawBytes(RawBytes&& other) noexcept { take(other); }
    ~RawBytes() { release(); }
    RawBytes& operator=(const RawBytes& other) { return *this = other.view(); }
    RawBytes& operator=(RawBytes&& other) noexcept {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }
    RawBytes& operator=(std::string_view text) {
        if (!onHeap() &&
            text.size() <= kInline) {  // copySmall reads all before it writes: text may lie in this
            copySmall(inline_, text.data(), text.size());
            size_ = static_cast<unsigned char>(text.size());
            return *this;
        }
        RawBytes copy(text);
        return *this = std::move(copy);
    }
    RawBytes& operator=(const char* text) { return *this = std::string_view(text); }
    RawBytes& operator=(const std::string& text) { return *this = std::string_view(text); }

    const char* data() const { return onHeap() ? heap_.data : inline_; }
    std::size_t size() const { return onHeap() ? heap_.size : size_; }
    bool empty() const { return size() == 0; }
    std::string_view view() const { return std::string_view(data(), size()); }
    operator std::string_view() const { return view(); }  // NOLINT
    std::string str() const { return std::string(view()); }

    friend bool operator==(const RawBytes& a, const RawBytes& b) { return a.view() == b.view(); }
    friend bool operator!=(const RawBytes& a, const RawBytes& b) { return a.view() != b.view(); }
    friend bool operator==(const RawBytes& a, const char* b) { return a.view() == b; }
    friend bool operator!=(const RawBytes& a, const char* b) { return a.view() != b; }
    friend std::ostream& operator<<(std::ostream& out, const RawBytes& b) { return out << b.view(); }

  private:
    static constexpr std::size_t kInline = 31;
    static constexpr unsigned char kHeap = 0xFF;

    bool onHeap() const { return size_ == kHeap; }
    void init(std::string_view text) {
        if (text.size() <= kInline) {
            copySmall(inline_, text.data(), text.size());
            size_ = static_cast<unsigned char>(text.size());
        } else {
            char* bytes = new char[text.size()];
            std::memcpy(bytes, text.data(), text.size());
            heap_ = {bytes, text.size()};
            size_ = kHeap;
        }
    }
    // Copies n <= 31 bytes with a few fixed-size (overlapping) moves instead of a call of memcpy.
    static void copySmall(char* to, const char* from, std::size_t n) {
        if (n >= 16) {
            char head[16], tail[16];
            std::memcpy(head, from, 16);
            std::memcpy(tail, from + n - 16, 16);
            std::memcpy(to, head, 16);
            std::memcpy(to + n - 16, tail, 16);
        } else if (n >= 8) {
            std::uint64_t head, tail;
            std::memcpy(&head, from, 8);
            std::memcpy(&tail, from + n - 8, 8);
            std::memcpy(to, &head, 8);
            std::memcpy(to + n - 8, &tail, 8);
        } else if (n >= 4) {
            std::uint32_t head, tail;
            std::memcpy(&head, from, 4);
            std::memcpy(&tail, from + n - 4, 4);
            std::memcpy(to, &head, 4);
            std::memcpy(to + n - 4, &tail, 4);
        } else {
            for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
        }
    }
    void take(RawBytes& other) noexcept {
        std::memcpy(static_cast<void*>(this), static_cast<const void*>(&other), sizeof *this);
        other.size_ = 0;
    }
    void release() noexcept {
        if (onHeap()) delete[] heap_.data;
        size_ = 0;
    }

    union {
        char inline_[kInline];
        struct {
            char* data;
            std::size_t size;
        } heap_;
    };
    unsigned char size_ = 0;  // bytes held inline, or kHeap
};

// JB: job properties.
struct JobRecord {
    RawBytes name;  // NM
    RawBytes date;  // DT
    RawBytes time;  // TM
};

// CS: coordinate system.
struct CoordSystemRecord {
    int code = 0;        // CO, the whole decimal value (a code above 255 is kept); written back only
    RawBytes zg;         // ZG, written back only
    RawBytes zn;         // ZN, written back only
    RawBytes datumName;  // DN, shown as the job's datum
};

// ES: ellipsoid of the local datum.
struct EllipsoidRecord {
    double semiMajorAxis = 0.0;      // RD, metres
    double inverseFlattening = 0.0;  // IF, 1/f
    RawBytes name;                   // EM
};

// DT: datum transformation from WGS 84.
struct DatumRecord {
    std::int8_t type = 0;            // DA, 1 = seven-parameter transformation in use
    double semiMajorAxis = 0.0;      // RD, written back only
    double inverseFlattening = 0.0;  // IF, written back only
    double rotationX = 0.0;          // OX, arc-seconds
    double rotationY = 0.0;          // OY, arc-seconds
    double rotationZ = 0.0;          // OZ, arc-seconds
    double translationX = 0.0;       // LX, metres
    double translationY = 0.0;       // LY, metres
    double translationZ = 0.0;       // LZ, metres
    double scalePpm = 0.0;           // SP, parts per million
};

// QZAH: four-parameter plane adjustment of the local grid.
struct HorizontalAdjustRecord {
    int inUse = 0;                  // AHUS, in use when not 0
    double originNorth = 0.0;       // ORGX, metres
    double originEast = 0.0;        // ORGY, metres
    double translationNorth = 0.0;  // TRSX, metres
    double translationEast = 0.0;   // TRSY, metres
    double rotationDegrees = 0.0;   // "CA  ", degrees
    double scaleFactor = 0.0;       // "CK  "
};

// QZAV: inclined-plane height adjustment.
struct VerticalAdjustRecord {
    int inUse = 0;    // AVUS, in use when not 0
    double a0 = 0.0;  // "A0  ", constant term, metres
    double a1 = 0.0;  // "A1  ", slope towards north, ppm
    double a2 = 0.0;  // "A2  ", slope towards east, ppm
    double x0 = 0.0;  // "X0  ", origin north, metres
    double y0 = 0.0;  // "Y0  ", origin east, metres
};

// PJ: map projection.
struct ProjectionRecord {
    int type = 0;                // TP, 32 = transverse Mercator
    RawBytes originLatitude;     // LA, radians held as decimal text
    double ln = 0.0;             // LN, written back only
    double ht = 0.0;             // HT, written back only
    double falseNorthing = 0.0;  // "N ", metres
    double falseEasting = 0.0;   // "E ", metres
    double el = 0.0;             // EL, written back only
    double scaleFactor = 0.0;    // SC
    double oo = 0.0;             // OO, written back only
    double ot = 0.0;             // OT, written back only
};

// GS: first record of a point group, the point's local grid position.
struct PointRecord {
    RawBytes name;         // PN
    double north = 0.0;    // "N ", metres
    double east = 0.0;     // "E ", metres
    double height = 0.0;   // EL, metres
    RawBytes description;  // "--", read but never written back
};

// AH: antenna set-up of the rover.
struct AntennaRecord {
    RawBytes dc;                 // DC, written back only
    double antennaHeight = 0.0;  // MA, measured antenna height, metres
    int method = 0;              // ME, 0..2: index of the antenna height measuring method
    double ra = 0.0;             // RA, written back only
};

// EP: epoch record; only the two RMS values are used, the rest is written back as read.
struct EpochRecord {
    RawBytes time;           // TM
    double latitude = 0.0;   // LA
    double longitude = 0.0;  // LN
    double height = 0.0;     // HT
    double hrms = 0.0;       // RH, horizontal RMS, metres
    double vrms = 0.0;       // RV, vertical RMS, metres
    double dh = 0.0;         // DH
    double dv = 0.0;         // DV
    int gm = 0;              // GM, written back only (the whole value, so that a rewritten line keeps it)
    int cl = 0;              // CL, written back only
};

// QZDP: dilution of precision and solution type.
struct DopRecord {
    double pdop = 0.0;     // "DOP "
    int solutionType = 0;  // "DIF ", 9 = RTK fixed
};

// QZRV: rover observation in WGS 84.
struct RoverInfoRecord {
    RawBytes time;              // QZTM, shown as is
    double wgsLatitude = 0.0;   // RVWB
    double wgsLongitude = 0.0;  // RVWL
    double wgsHeight = 0.0;     // RVWH, ellipsoidal height, metres
    int duration = 0;           // DRTM
    int epochs = 0;             // EPCH
    int gpsSatellites = 0;      // NGPS
    int glonassSatellites = 0;  // NGNS
    int gnssSatellites = 0;     // NALL
};

// QZBS: the base station the rover was measured from.
struct BaseInfoRecord {
    RawBytes name;               // BSNM
    double north = 0.0;          // "BSN ", metres
    double east = 0.0;           // "BSE ", metres
    double height = 0.0;         // "BSH ", metres
    double wgsLatitude = 0.0;    // BSWB
    double wgsLongitude = 0.0;   // BSWL
    double wgsHeight = 0.0;      // BSWH, ellipsoidal height, metres
    RawBytes antennaType;        // BSAT
    double antennaHeight = 0.0;  // BSMA, metres
    int antennaMethod = 0;       // BSME, 0..2 as AntennaRecord::method
};

// QZAD: point attributes.
struct AttributeRecord {
    RawBytes code;            // CODE
    RawBytes echoHeight;      // ECHT, held as text
    double precisionX = 0.0;  // "XP  "
    double precisionY = 0.0;  // "YP  "
    double precisionH = 0.0;  // "HP  "
    RawBytes method;          // METH, measuring method text
};
