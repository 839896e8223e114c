#pragma once

#include <memory>
#include <utility>

namespace kvt {

// The library's one object of a kind (settings store, general settings, message catalogue):
// created on first use, replaceable (tests install their own), and droppable so that the
// next use creates a fresh one. The library runs on one thread.
template<class T>
class SharedInstance {
public:
    using Factory = std::shared_ptr<T> (*)();

    explicit SharedInstance(Factory make = [] { return std::make_shared<T>(); })
        : mMake(make) {}

    std::shared_ptr<T> get() {
        if (!mObject)
            mObject = mMake();
        return mObject;
    }
    void set(std::shared_ptr<T> object) { mObject = std::move(object); }
    void release() { mObject.reset(); }
    // Drops the object only when it is this one.
    void releaseIfHolding(const T *object) {
        if (mObject.get() == object)
            mObject.reset();
    }

private:
    Factory mMake;
    std::shared_ptr<T> mObject;
};

} // namespace kvt
