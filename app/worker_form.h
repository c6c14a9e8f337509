// A window whose long work runs through a Worker: started from a button,
// stopped by Cancel or by closing the window, its events shown as they come.
#pragma once
#include <initializer_list>
#include <memory>

#include "app/form_logic.h"
#include "app/worker.h"
#include "platform/kernel.h"

namespace tw {

class WorkerForm : public FormLogic {
public:
    using FormLogic::FormLogic;

    // The window was told that events of the running work are waiting.
    void DeliverWork();
    // The window is being closed: running work is stopped and waited for,
    // and the window is left ready for the next run.
    void FormClose();
    bool WorkRunning() const { return worker_ && worker_->Running(); }

protected:
    // Runs `work`, its events to OnWorkEvent; false when work runs already.
    bool StartWork(Work work);
    void CancelWork();
    virtual void OnWorkEvent(const WorkEvent& event) = 0;
    // The work was stopped with the window closing; no Done came.
    virtual void OnWorkAbandoned() = 0;

private:
    std::unique_ptr<Worker> worker_;
};

// The shared chooser fill for each of `types` in turn, the drives in letter
// order, entry 0 chosen.
void FillChooserOfTypes(platform::Kernel& kernel, Component& chooser, std::initializer_list<platform::UINT> types);

}  // namespace tw
