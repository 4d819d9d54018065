#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of the self-diagnosis result box: bit 0 set means the radar works normally; otherwise
// each further bit set names a faulty unit.
class SelfDiagnosisReport
{
    Q_DECLARE_TR_FUNCTIONS(SelfDiagnosisReport)

public:
    static QString title();
    static QString text(quint16 result);
    // The unit of bit 1 and up; a generic name beyond the known ones.
    static QString unitName(int bit);
};
