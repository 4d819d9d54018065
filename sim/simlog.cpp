#include "simlog.h"

#include <QDateTime>
#include <QString>

#include <cstdio>

bool SimLog::s_verbose = false;

void SimLog::install(bool verbose)
{
    s_verbose = verbose;
    qInstallMessageHandler(&SimLog::handleMessage);
}

void SimLog::handleMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const char *level = "info";
    switch (type) {
    case QtDebugMsg:
        if (!s_verbose)
            return;
        level = "debug";
        break;
    case QtInfoMsg:
        level = "info";
        break;
    case QtWarningMsg:
        level = "warning";
        break;
    case QtCriticalMsg:
        level = "error";
        break;
    case QtFatalMsg:
        level = "fatal";
        break;
    }
    const QByteArray line = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8()
        + ' ' + QByteArray(level).leftJustified(8, ' ') + message.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
