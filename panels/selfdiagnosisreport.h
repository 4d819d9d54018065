#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// The result box of a self-diagnosis: bit 0 set means the radar works normally; otherwise
// each further bit set names a faulty unit.
class SelfDiagnosisReport
{
    Q_DECLARE_TR_FUNCTIONS(SelfDiagnosisReport)

public:
    static QString title();
    static QString text(quint16 result);
    // The unit of bit 1 and up; a generic name beyond the known ones.
    static QString unitName(int bit);
    // Opens the box modal on the parent.
    static void show(QWidget *parent, quint16 result);
};
