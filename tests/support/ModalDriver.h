#ifndef QV_TEST_MODALDRIVER_H
#define QV_TEST_MODALDRIVER_H

// Drives modal dialogs from toolkit timeouts: the test queues steps, then
// calls the code that opens the dialog and runs its own wait loop; the steps
// run inside that loop, one after the other. A watchdog fails the test when
// the steps have not all run in time, and hides every window so that the
// dialog's loop ends instead of hanging; a loop that still does not end
// stops the test program.
//
//   qvtest::ModalDriver driver;
//   driver.onModal([](Fl_Window& w) { qvtest::clickWidget(qvtest::findWidget(&w, "Oui")); });
//   int answer = fl_choice(...);
//   EXPECT_TRUE(driver.done());

#include <chrono>
#include <deque>
#include <functional>

class Fl_Group;
class Fl_Widget;
class Fl_Window;

namespace qvtest {

class ModalDriver {
public:
    explicit ModalDriver(double watchdogSeconds = 10.0);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Runs `action` on the modal window as soon as one is shown.
    ModalDriver& onModal(std::function<void(Fl_Window&)> action);
    // Runs `action` `delay` seconds after the previous step.
    ModalDriver& after(double delay, std::function<void()> action);

    // Runs `action` on the window that `find` gives as soon as it is shown
    // (an alert, a dialog), even inside the loop of a dialog that an earlier
    // step opened and is still running.
    ModalDriver& onShown(std::function<Fl_Window*()> find, std::function<void(Fl_Window&)> action);
    // Runs `action` as soon as `ready` holds and every earlier step has
    // returned: never inside the loop of an alert that an earlier step
    // opened, even once the alert is hidden (the toolkit shows no other
    // alert until that loop has ended).
    ModalDriver& when(std::function<bool()> ready, std::function<void()> action);

    // The watchdog also fails the test when every step has run but a modal
    // window still waits for one (a step that no longer closes its dialog).
    ModalDriver& strict() {
        strict_ = true;
        return *this;
    }

    bool done() const { return steps_.empty(); }
    bool timedOut() const { return timedOut_; }

private:
    struct Step {
        double delay;
        bool waitsForModal;
        std::function<void(Fl_Window&)> onWindow;
        std::function<void()> action;
        std::function<Fl_Window*()> find;
        std::function<bool()> ready;
    };
    void armNext();
    void runStep();
    void watchdog();
    static void runStepCb(void* d);
    static void watchdogCb(void* d);
    static void lastResortCb(void* d);

    std::deque<Step> steps_;
    std::chrono::steady_clock::time_point start_;
    double watchdogSeconds_;
    bool armed_ = false;
    int running_ = 0;  // step actions under way, one inside another
    bool strict_ = false;
    bool timedOut_ = false;
};

// The first widget under `root` (itself included) whose label is `label`.
Fl_Widget* findWidget(Fl_Group* root, const char* label);
// The first shown window holding a widget labelled `label`, or null.
Fl_Window* shownWindowWith(const char* label);

}  // namespace qvtest

#endif
