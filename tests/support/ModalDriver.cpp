#include "ModalDriver.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qvtest {

namespace {
const double POLL_SECONDS = 0.02;
const double GRACE_SECONDS = 3.0;
}  // namespace

ModalDriver::ModalDriver(double watchdogSeconds)
    : start_(std::chrono::steady_clock::now()), watchdogSeconds_(watchdogSeconds) {
    Fl::add_timeout(watchdogSeconds, watchdogCb, this);
}

ModalDriver::~ModalDriver() {
    Fl::remove_timeout(runStepCb, this);
    Fl::remove_timeout(watchdogCb, this);
    Fl::remove_timeout(lastResortCb, this);
}

ModalDriver& ModalDriver::onModal(std::function<void(Fl_Window&)> action) {
    steps_.push_back({0.0, true, std::move(action), nullptr, nullptr, nullptr});
    if (!armed_) armNext();
    return *this;
}

ModalDriver& ModalDriver::after(double delay, std::function<void()> action) {
    steps_.push_back({delay, false, nullptr, std::move(action), nullptr, nullptr});
    if (!armed_) armNext();
    return *this;
}

ModalDriver& ModalDriver::onShown(std::function<Fl_Window*()> find, std::function<void(Fl_Window&)> action) {
    steps_.push_back({POLL_SECONDS, false, std::move(action), nullptr, std::move(find), nullptr});
    if (!armed_) armNext();
    return *this;
}

ModalDriver& ModalDriver::when(std::function<bool()> ready, std::function<void()> action) {
    steps_.push_back({POLL_SECONDS, false, nullptr, std::move(action), nullptr, std::move(ready)});
    if (!armed_) armNext();
    return *this;
}

void ModalDriver::armNext() {
    armed_ = !steps_.empty();
    if (!armed_) return;
    const Step& s = steps_.front();
    Fl::add_timeout(s.waitsForModal ? POLL_SECONDS : s.delay, runStepCb, this);
}

void ModalDriver::runStep() {
    Step& s = steps_.front();
    Fl_Window* w = nullptr;
    bool ready = true;
    if (s.find) {
        w = s.find();
        ready = w && w->shown();
    } else if (s.ready) {
        ready = running_ == 0 && s.ready();
    } else if (s.waitsForModal) {
        w = Fl::modal();
        ready = w && w->shown();
    }
    if (!ready) {
        Fl::repeat_timeout(POLL_SECONDS, runStepCb, this);
        return;
    }
    Step step = std::move(s);
    steps_.pop_front();
    armNext();
    ++running_;
    if (step.onWindow)
        step.onWindow(*w);
    else
        step.action();
    --running_;
}

void ModalDriver::watchdog() {
    // The toolkit counts a timeout from its last wait, so after a test that ran
    // long without waiting the watchdog can fire at once: go by the real clock.
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    if (elapsed.count() < watchdogSeconds_) {
        Fl::add_timeout(watchdogSeconds_ - elapsed.count(), watchdogCb, this);
        return;
    }
    const bool enAttente = strict_ && Fl::modal() && Fl::modal()->shown();
    if (done() && !enAttente) return;
    timedOut_ = true;
    ADD_FAILURE() << "modal driver: " << steps_.size()
                  << " step(s) still waiting when the watchdog fired"
                  << (done() ? ", and a modal window waits for none" : "");
    steps_.clear();
    Fl::remove_timeout(runStepCb, this);
    armed_ = false;
    // Loops that wait for their window to close end here.
    while (Fl_Window* w = Fl::first_window()) w->hide();
    Fl::add_timeout(GRACE_SECONDS, lastResortCb, this);
}

void ModalDriver::runStepCb(void* d) { static_cast<ModalDriver*>(d)->runStep(); }
void ModalDriver::watchdogCb(void* d) { static_cast<ModalDriver*>(d)->watchdog(); }

void ModalDriver::lastResortCb(void*) {
    std::fprintf(stderr, "modal driver: the modal loop did not end after its windows were "
                         "hidden; stopping the test program\n");
    std::fflush(stderr);
    std::_Exit(1);
}

Fl_Widget* findWidget(Fl_Group* root, const char* label) {
    if (!root) return nullptr;
    if (root->label() && std::strcmp(root->label(), label) == 0) return root;
    for (int i = 0; i < root->children(); ++i) {
        Fl_Widget* c = root->child(i);
        if (Fl_Group* g = c->as_group()) {
            if (Fl_Widget* found = findWidget(g, label)) return found;
        } else if (c->label() && std::strcmp(c->label(), label) == 0) {
            return c;
        }
    }
    return nullptr;
}

Fl_Window* shownWindowWith(const char* label) {
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        if (w->shown() && findWidget(w, label)) return w;
    return nullptr;
}

}  // namespace qvtest
