#include "app/worker_form.h"

#include <algorithm>

#include "inventory/drive_chooser.h"

namespace tw {

void WorkerForm::DeliverWork() {
    if (worker_) worker_->Deliver();
}

void WorkerForm::FormClose() {
    if (!WorkRunning()) return;
    worker_->Stop();
    OnWorkAbandoned();
}

bool WorkerForm::StartWork(Work work) {
    if (WorkRunning()) return false;
    worker_ = dialogs_.MakeWorker(*this);
    worker_->Start(std::move(work), [this](const WorkEvent& event) { OnWorkEvent(event); });
    return true;
}

void WorkerForm::CancelWork() {
    if (WorkRunning()) worker_->Cancel();
}

void FillChooserOfTypes(platform::Kernel& kernel, Component& chooser, std::initializer_list<platform::UINT> types) {
    std::vector<std::string> items;
    for (const platform::UINT type : types) {
        inventory::ComboBox box;
        inventory::FillDriveChooser(kernel, box, type, {});
        items.insert(items.end(), box.items.begin(), box.items.end());
    }
    std::sort(items.begin(), items.end());
    chooser.items = std::move(items);
    chooser.itemIndex = chooser.items.empty() ? -1 : 0;
    chooser.text = chooser.items.empty() ? std::string() : chooser.items[0];
}

}  // namespace tw
