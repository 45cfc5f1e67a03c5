#pragma once
// Helpers shared by the GUI tests: a prompter that answers from a script, a scratch working directory
// and small raw survey files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <ostream>

#include "Prompter.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// Answers file dialogs from queues (an exhausted queue answers "cancel") and records every question.
class ScriptedPrompter : public Prompter {
  public:
    struct Message {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };
    struct FileQuestion {
        QString caption;
        QString dir;
        QString filter;
    };

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QMessageBox::StandardButton> messageAnswers;  // answered first, in order
    QMessageBox::StandardButton messageAnswer = QMessageBox::Ok;
    QList<FileQuestion> openQuestions;
    QList<FileQuestion> saveQuestions;
    QList<Message> messages;

    QString askOpenFileName(QWidget*, const QString& caption, const QString& dir,
                            const QString& filter) override {
        openQuestions.append({caption, dir, filter});
        return next(openAnswers);
    }
    QString askSaveFileName(QWidget*, const QString& caption, const QString& dir,
                            const QString& filter) override {
        saveQuestions.append({caption, dir, filter});
        return next(saveAnswers);
    }
    QMessageBox::StandardButton askMessage(QMessageBox::Icon icon, QWidget*, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons) override {
        messages.append({icon, title, text});
        if (messageAnswers.empty()) return messageAnswer;
        const QMessageBox::StandardButton answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }

  private:
    static QString next(std::deque<QString>& answers) {
        if (answers.empty()) return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Makes a fresh temporary directory the working directory for the test's lifetime ("./Antenna.ini" is
// relative to it) and restores the previous one afterwards.
class ScratchDir {
  public:
    ScratchDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScratchDir() { QDir::setCurrent(previous_); }
    QString path(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
    QString previous_;
};

inline void writeFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The eight lines of one point group.
struct RawPoint {
    QByteArray name;
    double north, east, height;
    QByteArray base;
    double baseNorth, baseEast, baseHeight;
    QByteArray antenna = "HX-CSX601A";
    double antennaHeight = 1.8;
    int method = 0;
    int solution = 9;
    QByteArray baseAntenna = "HX-CSX601A";
    double baseAntennaHeight = 1.5;
    int baseMethod = 0;
};

inline QByteArray rawGroup(const RawPoint& p) {
    auto n = [](double v) { return QByteArray::number(v, 'f', 4); };
    return "GS,PN" + p.name + ",N " + n(p.north) + ",E " + n(p.east) + ",EL" + n(p.height) + ",--desc\n" +
           "AH,DCx,MA" + n(p.antennaHeight) + ",ME" + QByteArray::number(p.method) + ",RA0\n" + "QZAT,AT  " +
           p.antenna + "\n" + "EP,TM1,LA0.6,LN2,HT3,RH0.0081,RV0.0143,DH2,DV1,GM1,CL2\n" +
           "QZDP,DOP 1.25,DIF " + QByteArray::number(p.solution) + "\n" +
           "QZRV,QZTM08:15:02,RVWB0.6,RVWL2.0,RVWH40,DRTM12,EPCH30,NGPS8,NGNS6,NALL14\n" + "QZBS,BSNM" +
           p.base + ",BSN " + n(p.baseNorth) + ",BSE " + n(p.baseEast) + ",BSH " + n(p.baseHeight) +
           ",BSWB0.6,BSWL2.0,BSWH30,BSAT" + p.baseAntenna + ",BSMA" + n(p.baseAntennaHeight) + ",BSME" +
           QByteArray::number(p.baseMethod) + "\n" +
           "QZAD,CODEc1,ECHT0,XP  0.008,YP  0.009,HP  0.014,METHRTK\n";
}

// A full header: version V1.0, seven-parameter datum, both adjustments in use, TM, 117 degrees meridian.
inline QByteArray rawHeader(const QByteArray& version = "V1.0") {
    return "QZVS,VS  " + version +
           "\n"
           "JB,NMDam,DT2026-11-02,TM08:14:03\n"
           "CS,CO32,ZG,ZN50N,DNWGS 84 / UTM 50N\n"
           "ES,RD6378137,IF298.257223563,EMWGS84\n"
           "DT,DA1,RD6378137,IF298.257223563,OX3600,OY0,OZ0,LX12.5,LY-3.25,LZ7.75,SP1.2\n"
           "QZAH,AHUS1,ORGX4200000,ORGY500000,TRSX1.25,TRSY-0.75,CA  0,CK  1.5\n"
           "QZAV,AVUS2,A0  0.12,A1  0.5,A2  -0.3,X0  4200000,Y0  500000\n"
           "PJ,TP32,LA0,LN0,HT0,N 4000000.25,E 500000,EL0,SC0.9996,OO0,OT0\n"
           "QZMC,MC  2.0420352248333655\n";
}

// The catalogue used by most tests: two antennas.
inline QByteArray twoAntennaCatalogue() {
    return "\n[ANTENNA]\nHX-CSX601A\n0.060\n0.120\n0.090\n[ANTENNA]\nTRM57971.00\n0.065\n0.128\n0.095";
}

// The job most editing tests use, with the two-antenna catalogue: bases B1 (4000000, 500000, 48;
// HX-CSX601A, 1.5 m, method 0) and B2 (4000200, 500050, 45; TRM57971.00, 1.6 m, method 1); rovers P1 and
// P3 of B1 (HX-CSX601A, 1.8 m, method 0), P2 of B2 (TRM57971.00, 2.0 m, method 2) and, when asked,
// P4 of a base named "b1" (differs from B1 only in case) with an antenna type that is not in the catalogue
// and a method index outside 0..2.
inline QByteArray editJob(bool withOddRover = false, const QByteArray& version = "V1.0") {
    RawPoint p1{"P1", 4000100.5, 500200.25, 100.0, "B1", 4000000.0, 500000.0, 48.0};
    RawPoint p2{"P2", 4000300.0, 500100.0, 52.0, "B2", 4000200.0, 500050.0, 45.0};
    p2.antenna = p2.baseAntenna = "TRM57971.00";
    p2.antennaHeight = 2.0;
    p2.method = 2;
    p2.solution = 4;
    p2.baseAntennaHeight = 1.6;
    p2.baseMethod = 1;
    RawPoint p3{"P3", 4000010.0, 500020.0, 49.0, "B1", 4000000.0, 500000.0, 48.0};
    QByteArray job = rawHeader(version) + rawGroup(p1) + rawGroup(p2) + rawGroup(p3);
    if (withOddRover) {
        RawPoint p4{"P4", 3999990.0, 499990.0, 46.0, "b1", 3999000.0, 499000.0, 40.0};
        p4.antenna = p4.baseAntenna = "LEGACY-ANT 9";
        p4.method = 7;
        job += rawGroup(p4);
    }
    return job;
}
