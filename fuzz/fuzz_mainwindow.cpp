// The whole start-up of the main program on a configuration file holding the fuzz bytes:
// the main window is built (it loads the work profiles and applies the current one, which
// sets up every panel, the views and the radar client), shown, the current profile applied
// again, and the profiles saved as closing the window does. One application for the whole
// run, on the offscreen platform.
//
// Checked besides memory errors and undefined behaviour: the save either succeeds, and the
// saved file loads again with the same profiles, or fails with a message for the user.

#include "fuzzcheck.h"
#include "mainwindow.h"
#include "workprofilehandler.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir *workDir = nullptr;

void ignoreMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

// Leaks are checked after every input, while Qt's font and timer caches are still in use.
// At exit the application goes before them and LeakSanitizer would report them all.
extern "C" const char *__asan_default_options()
{
    return "leak_check_at_exit=0";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    qInstallMessageHandler(ignoreMessages);
    workDir = new QTemporaryDir;
    FUZZ_CHECK(workDir->isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The window reads and writes its configuration in the current folder; libFuzzer's own
    // relative paths need the folder back afterwards (give it an absolute -artifact_prefix).
    const QString startFolder = QDir::currentPath();
    FUZZ_CHECK(QDir::setCurrent(workDir->path()));
    QDir dir(workDir->path());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        FUZZ_CHECK(dir.remove(name));
    const QString path = QString::fromLatin1(MainWindow::ConfigPath);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly)
            && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }

    auto *window = new MainWindow;
    window->show();
    QApplication::processEvents();
    WorkProfileHandler *handler = window->profileHandler();
    handler->applyProfile(handler->currentProfileId());
    QApplication::processEvents();

    QString failure;
    bool failed = false;
    QObject::connect(handler, &WorkProfileHandler::savingFailed, [&](const QString &text) {
        failed = true;
        failure = text;
    });
    const bool saved = handler->saveProfiles(path);
    FUZZ_CHECK(saved != failed);
    if (saved) {
        WorkProfileHandler reloaded;
        reloaded.loadProfiles(path);
        FUZZ_CHECK(reloaded.profileNames() == handler->profileNames());
        FUZZ_CHECK(reloaded.currentProfileId() == handler->currentProfileId());
    } else {
        FUZZ_CHECK(!failure.isEmpty());
    }
    delete window;
    // Deferred deletions of the window's parts.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FUZZ_CHECK(QDir::setCurrent(startFolder));
    return 0;
}
