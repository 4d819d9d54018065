#include "radarvariant.h"

bool RadarVariant::fromText(const QString &text, Type *type)
{
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("Q") || t == QLatin1String("SERQ") || t == QLatin1String("0")) {
        *type = TypeQ;
        return true;
    }
    if (t == QLatin1String("P") || t == QLatin1String("SERP") || t == QLatin1String("1")) {
        *type = TypeP;
        return true;
    }
    return false;
}
