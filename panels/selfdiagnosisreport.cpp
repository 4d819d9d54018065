#include "selfdiagnosisreport.h"

#include <QStringList>

namespace {

constexpr int KnownUnits = 4;
constexpr int UnitBits = 15;
const char *const UnitNames[] = { "AMP1", "AMP2", "PADC", "TRSC", "PLLC" };

} // namespace

QString SelfDiagnosisReport::title()
{
    return tr("Radar self-diagnosis");
}

QString SelfDiagnosisReport::unitName(int bit)
{
    const int count = int(sizeof(UnitNames) / sizeof(UnitNames[0]));
    if (bit >= 1 && bit <= count)
        return QString::fromLatin1(UnitNames[bit - 1]);
    return tr("Unit %1").arg(bit);
}

QString SelfDiagnosisReport::text(quint16 result)
{
    QStringList lines { tr("Self-diagnosis completed.") };
    if (result & 0x1) {
        lines << tr("Radar is functioning normally");
        return lines.join(QLatin1Char('\n'));
    }
    lines << tr("Radar is functioning wrong");
    // The four units the radar always checks are listed; others only when they fail.
    for (int bit = 1; bit <= UnitBits; ++bit) {
        const bool failed = result & (1u << bit);
        if (bit <= KnownUnits)
            lines << (failed ? tr("%1: failure") : tr("%1: OK")).arg(unitName(bit));
        else if (failed)
            lines << tr("%1: failure").arg(unitName(bit));
    }
    return lines.join(QLatin1Char('\n'));
}
