// Another program on the same X display, for the clipboard test: "own TEXT HTML" puts both on the
// clipboard, says "owned" and serves them until its standard input closes; "read" prints the
// clipboard's text and HTML as "text/plain=..." and "text/html=..." lines and ends.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    QClipboard &clipboard = *QGuiApplication::clipboard();
    if (arguments.value(1) == "read") {
        const QMimeData *data = clipboard.mimeData();
        for (const char *mime : {"text/plain", "text/html"}) {
            const QByteArray bytes = data ? data->data(mime) : QByteArray();
            std::printf("%s=%.*s\n", mime, static_cast<int>(bytes.size()), bytes.constData());
        }
        return 0;
    }
    if (arguments.value(1) != "own" || arguments.size() != 4) {
        std::fprintf(stderr, "usage: %s read | own TEXT HTML\n", argv[0]);
        return 2;
    }
    auto *data = new QMimeData;
    data->setText(arguments[2]);
    data->setHtml(arguments[3]);
    clipboard.setMimeData(data);
    std::printf("owned\n");
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char byte = 0;
        if (read(STDIN_FILENO, &byte, 1) <= 0)
            QGuiApplication::quit();
    });
    return QGuiApplication::exec();
}
