#pragma once

#include "facade/AddInMgr.h"
#include "model/Error.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kvt::test {

// An add-in manager inside the test process: names, editor and an event source delivering
// synchronously to its subscribers in subscription order, as the manager program does. It
// records the events raised, and can play a manager that cannot be reached.
class LocalEventRaiser final : public EventRaiser,
                               public std::enable_shared_from_this<LocalEventRaiser> {
public:
    void Raise_xevtCommonDataEditRunning() override { raise(AddInEvent::CommonDataEditRunning); }
    void Raise_xevtUpdateCommonData() override { raise(AddInEvent::UpdateCommonData); }
    void Raise_xevtCommonDataEditAllowed() override { raise(AddInEvent::CommonDataEditAllowed); }

    std::unique_ptr<EventSubscription> Subscribe(AddInEventHandler &handler) override {
        const int id = ++mLastId;
        mSubscribers.emplace_back(id, &handler);
        return std::make_unique<Subscription>(weak_from_this(), id);
    }

    std::vector<AddInEvent> raised;
    std::size_t subscriberCount() const { return mSubscribers.size(); }

private:
    class Subscription final : public EventSubscription {
    public:
        Subscription(std::weak_ptr<LocalEventRaiser> raiser, int id)
            : mRaiser(std::move(raiser))
            , mId(id) {}
        ~Subscription() override {
            if (auto raiser = mRaiser.lock())
                std::erase_if(raiser->mSubscribers,
                              [this](const auto &s) { return s.first == mId; });
        }

    private:
        std::weak_ptr<LocalEventRaiser> mRaiser;
        int mId;
    };

    void raise(AddInEvent event) {
        raised.push_back(event);
        // A handler may subscribe or unsubscribe while the event goes round.
        const auto subscribers = mSubscribers;
        for (const auto &[id, handler] : subscribers) {
            const bool stillThere = std::any_of(mSubscribers.begin(), mSubscribers.end(),
                                                [id = id](const auto &s) { return s.first == id; });
            if (stillThere)
                handler->onAddInEvent(event);
        }
    }

    std::vector<std::pair<int, AddInEventHandler *>> mSubscribers;
    int mLastId = 0;
};

class LocalAddInMgr final : public AddInMgr {
public:
    std::string NewAddInName(const std::string &type) override {
        reach();
        const std::string name = type + " " + std::to_string(++mLastIds[type]);
        mNames.push_back(name);
        return name;
    }
    void UnRegister(const std::string &name) override {
        reach();
        std::erase(mNames, name);
    }
    std::string AddInCollectionString() override {
        reach();
        std::string text;
        for (const std::string &name : mNames)
            text += name + "\r\n";
        return text;
    }
    std::string CommonDataEditor() override {
        reach();
        return editor;
    }
    void setCommonDataEditor(const std::string &name) override {
        reach();
        editor = name;
    }
    bool ClaimCommonDataEditor(const std::string &name) override {
        reach();
        if (editor.empty())
            editor = name;
        return editor == name;
    }
    std::int32_t LastId(const std::string &type) override {
        reach();
        const auto found = mLastIds.find(type);
        return found == mLastIds.end() ? 0 : found->second;
    }
    std::shared_ptr<kvt::EventRaiser> EventRaiser() override {
        reach();
        return events;
    }

    std::string editor;
    bool unreachable = false;
    std::shared_ptr<LocalEventRaiser> events = std::make_shared<LocalEventRaiser>();

private:
    void reach() const {
        if (unreachable)
            throw Error(err::AddInMgr, "org.talvio.TlvAddInMgr: no such program");
    }

    std::vector<std::string> mNames;
    std::map<std::string, std::int32_t> mLastIds;
};

// Makes every facade created in the scope connect to one in-process manager.
class ScopedLocalAddInMgr {
public:
    ScopedLocalAddInMgr() {
        setAddInMgrFactory([manager = manager] { return manager; });
    }
    ~ScopedLocalAddInMgr() { setAddInMgrFactory({}); }
    ScopedLocalAddInMgr(const ScopedLocalAddInMgr &) = delete;
    ScopedLocalAddInMgr &operator=(const ScopedLocalAddInMgr &) = delete;

    LocalAddInMgr &operator*() const { return *manager; }
    LocalAddInMgr *operator->() const { return manager.get(); }

    const std::shared_ptr<LocalAddInMgr> manager = std::make_shared<LocalAddInMgr>();
};

} // namespace kvt::test
