// The program's side of the refresh benchmark: the main window's refresh,
// run headless on the real system REPEATS times. Prints the median refresh in
// microseconds on the first line, then the list as tarnwell-cli prints it.
//   tarnwell-refresh-timer [REPEATS]
#include <algorithm>
#include <charconv>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/tform1.h"
#include "cli/headless.h"
#include "cli/list_printer.h"
#include "platform/real_platform.h"

int main(int argc, char** argv) {
    int repeats = 5;
    if (argc > 1) std::from_chars(argv[1], argv[1] + std::string(argv[1]).size(), repeats);
    auto platform = tw::platform::MakeRealPlatform();
    if (!platform) return 2;
    tw::Application app;
    tw::cli::HeadlessView view;
    std::ostringstream boxes;
    tw::cli::HeadlessDialogs dialogs(boxes);
    tw::TForm1 form(*platform, view, dialogs, app);
    form.FormCreate();
    std::vector<long long> times;
    for (int i = 0; i < std::max(repeats, 1); ++i) {
        const auto start = std::chrono::steady_clock::now();
        form.Click(tw::MainCommand::Refresh);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration_cast<std::chrono::microseconds>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    std::cout << "refresh us " << times[times.size() / 2] << '\n';
    tw::cli::PrintList(form.Rows(), std::cout);
    std::cerr << boxes.str();
    return dialogs.ErrorsShown() == 0 ? 0 : 1;
}
