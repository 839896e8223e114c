#include "MainThread.h"

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <cppuhelper/implbase1.hxx>
#include <exception>

namespace talvio::calc {

namespace {

class Task final : public cppu::WeakImplHelper1<css::awt::XCallback> {
public:
    explicit Task(std::function<void()> task)
        : mTask(std::move(task)) {}

    void SAL_CALL notify(const css::uno::Any &) override {
        try {
            mTask();
        } catch (const std::exception &) {
        } catch (const css::uno::Exception &) {
        }
    }

private:
    std::function<void()> mTask;
};

} // namespace

void postToMainThread(const css::uno::Reference<css::uno::XComponentContext> &context,
                      std::function<void()> task) {
    css::awt::AsyncCallback::create(context)->addCallback(new Task(std::move(task)),
                                                          css::uno::Any());
}

} // namespace talvio::calc
