#include "ChangeReport.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text) { return QCoreApplication::translate("RawBench", text); }

QString methodName(const QStringList& methods, int method) {
    return method >= 0 && method < methods.size() ? methods[method] : tr("method %1").arg(method);
}

// Appends "label old → new" for every value that differs; lengths also get their difference.
class Differences {
  public:
    void length(const QString& label, double before, double after) {
        if (before == after) return;
        parts_ << QStringLiteral("%1 %2 → %3 (%4%5)")
                      .arg(label, fixed4(before), fixed4(after),
                           after >= before ? QStringLiteral("+") : QString(), fixed4(after - before));
    }
    void text(const QString& label, const QString& before, const QString& after) {
        if (before != after) parts_ << QStringLiteral("%1 %2 → %3").arg(label, before, after);
    }
    QString joined() const { return parts_.join(QStringLiteral("; ")); }

  private:
    QStringList parts_;
};

// The values rovers and bases share: position and antenna set-up.
template <typename Point>
void compare(Differences& d, const Point& a, const Point& b, const QStringList& methods) {
    d.length(tr("N"), a.north, b.north);
    d.length(tr("E"), a.east, b.east);
    d.length(tr("H"), a.height, b.height);
    d.text(tr("Ant Type"), a.antennaType, b.antennaType);
    d.length(tr("Ant Height"), a.antennaHeight, b.antennaHeight);
    d.text(tr("Ant Method"), methodName(methods, a.antennaMethod), methodName(methods, b.antennaMethod));
}

// Why a point's own edit was made: the batch corrections that staged it, and typing when it was typed
// (ownText) or nothing else says why.
QStringList editReasons(unsigned origins, const QString& ownText, const BaseStation* before = nullptr,
                        const BaseStation* after = nullptr) {
    QStringList why;
    if ((origins & BatchAntenna) != 0u) why << tr("batch antenna set-up");
    if ((origins & BatchShift) != 0u && before && after)
        why << tr("base shifted by ΔN %1 / ΔE %2 / ΔH %3")
                   .arg(signedFixed4(after->north - before->north), signedFixed4(after->east - before->east),
                        signedFixed4(after->height - before->height));
    if ((origins & BatchRename) != 0u) why << tr("renamed");
    if ((origins & TypedEdit) != 0u || why.isEmpty()) why << ownText;
    return why;
}

}  // namespace

QList<ChangeLine> describeChanges(const QList<PointChange>& changes, const QStringList& methods) {
    QList<ChangeLine> lines;
    for (const PointChange& c : changes) {
        Differences d;
        ChangeLine line;
        QStringList why;
        if (c.kind == PointKind::Rover) {
            const RoverPoint& a = c.roverBefore;
            const RoverPoint& b = c.roverAfter;
            line.point = b.name;
            line.kind = tr("Rover");
            d.text(tr("Name"), a.name, b.name);
            compare(d, a, b, methods);
            if (c.reasons & OwnEdit) why << editReasons(c.origins, tr("own antenna edit"));
            if (c.reasons & BaseMoved) why << tr("base %1 moved").arg(c.movedBase);
        } else {
            const BaseStation& a = c.baseBefore;
            const BaseStation& b = c.baseAfter;
            line.point = b.name;
            line.kind = tr("Base");
            compare(d, a, b, methods);
            why << editReasons(c.origins, tr("own edit"), &a, &b);
        }
        line.what = d.joined();
        line.why = why.join(QStringLiteral(", "));
        lines << line;
    }
    return lines;
}

QString changeCountText(const QList<PointChange>& changes) {
    int rovers = 0, bases = 0;
    for (const PointChange& c : changes) (c.kind == PointKind::Rover ? rovers : bases)++;
    if (rovers + bases == 0) return tr("No point changed.");
    auto counted = [](int n, const char* one, const char* many) {
        return (n == 1 ? tr(one) : tr(many).arg(n));
    };
    return counted(rovers + bases, "1 point changed", "%1 points changed") +
           QStringLiteral(" (%1, %2).")
               .arg(counted(rovers, "1 rover", "%1 rovers"), counted(bases, "1 base", "%1 bases"));
}
