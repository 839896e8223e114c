#pragma once

#include "messages/MessageBoxes.h"

#include <QString>
#include <memory>
#include <optional>

namespace kvt::tracer {

// Asks where to save the trace; nothing when the user cancels.
class SaveFileChooser {
public:
    virtual ~SaveFileChooser() = default;
    virtual std::optional<QString> saveFileName(const QString &suggested) = 0;
};

// The only ways a trace window talks to the user besides itself: a test scripts both.
struct TraceDialogs {
    std::shared_ptr<MessageBoxes> boxes;
    std::shared_ptr<SaveFileChooser> files;
};

// Qt message boxes and the Qt file dialog, parented to the active window.
TraceDialogs qtTraceDialogs();

} // namespace kvt::tracer
