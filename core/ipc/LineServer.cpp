#include "ipc/LineServer.h"

#include "ipc/Bus.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <unistd.h>

namespace kvt::ipc {

void serveLines(int fd, const LineHandler &handler) {
    ensureApplication();
    QEventLoop loop;
    QSocketNotifier input(fd, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        input.setEnabled(false);
        char buffer[4096];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0)
            return loop.quit();
        pending.append(buffer, static_cast<std::size_t>(count));
        for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!handler(line))
                return loop.quit();
        }
        input.setEnabled(true);
    });
    loop.exec();
}

} // namespace kvt::ipc
