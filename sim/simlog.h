#pragma once

#include <QtGlobal>

// Log lines on stderr, each with its UTC time stamp and level:
// "2026-12-08T14:53:29.123Z info    Listening on ws://127.0.0.1:7578/".
class SimLog
{
public:
    static void install(bool verbose);

private:
    static void handleMessage(
        QtMsgType type, const QMessageLogContext &context, const QString &message);
    static bool s_verbose;
};
