#pragma once

namespace kvt {

// The add-in manager's shared event source, as a facade holds it: through it an add-in tells
// every running add-in that the common currency data changed. A facade holds none until it
// registers with the add-in manager.
class EventRaiser {
public:
    virtual ~EventRaiser() = default;
    virtual void Raise_xevtUpdateCommonData() = 0;
};

} // namespace kvt
