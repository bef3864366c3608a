// Test helper: begins a recovery session in the given folder and has the
// scheduler write a copy of each document given. It prints "begun" once the
// session has begun and "saved <id>" per copy. Mode "hang" then waits to be killed; "exit" ends at once without a
// clean exit; "clean" ends the session properly.
//   recovery_helper <hang|exit|clean> <folder> (<id> <path or -> <file with the text>)...
#include "editor/recovery/RecoveryScheduler.h"
#include "editor/recovery/RecoveryStore.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

class FixedText : public vlr::RecoverySource {
public:
    FixedText(QString path, QByteArray text) : path_(std::move(path)), text_(std::move(text)) {}
    QString RecoveryDocumentPath() const override { return path_; }
    QByteArray RecoveryText() const override { return text_; }

private:
    QString path_;
    QByteArray text_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || (args.size() - 3) % 3 != 0) {
        std::fprintf(stderr, "usage: recovery_helper <hang|exit|clean> <folder> (<id> <path|-> <text file>)...\n");
        return 2;
    }
    const QString mode = args[1];
    vlr::RecoveryStore store(args[2]);
    QString error;
    if (!store.BeginSession(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("begun\n");
    std::fflush(stdout);
    vlr::RecoveryScheduler scheduler(store);
    scheduler.SetDelay(std::chrono::milliseconds(20));
    std::vector<std::unique_ptr<FixedText>> sources;
    for (qsizetype i = 3; i < args.size(); i += 3) {
        QFile text(args[i + 2]);
        if (!text.open(QIODevice::ReadOnly))
            return 1;
        sources.push_back(std::make_unique<FixedText>(args[i + 1] == QLatin1String("-") ? QString() : args[i + 1],
                                                      text.readAll()));
        scheduler.DocumentChanged(args[i], *sources.back());
    }
    int left = static_cast<int>(sources.size());
    QObject::connect(&scheduler, &vlr::RecoveryScheduler::RecoveryFailed, [](const QString& id, const QString& why) {
        std::fprintf(stderr, "failed %s: %s\n", qPrintable(id), qPrintable(why));
        std::_Exit(1);
    });
    QObject::connect(&scheduler, &vlr::RecoveryScheduler::RecoveryWritten, [&](const QString& id) {
        std::printf("saved %s\n", qPrintable(id));
        std::fflush(stdout);
        if (--left > 0)
            return;
        if (mode == QLatin1String("exit"))
            std::_Exit(0);  // no clean-up at all, as after a crash
        if (mode == QLatin1String("clean")) {
            store.EndSession();
            QCoreApplication::exit(0);
        }
        // "hang": keep running until killed
    });
    return app.exec();
}
