#include "inventory/drive_enumeration.h"

#include "inventory/drive_probe.h"
#include "inventory/number_format.h"

namespace tw::inventory {

using namespace tw::platform;

void EnumerateDrives(Platform& platform, const EnumerationOptions& options, optical::MessagePump& pump,
                     std::vector<DriveRow>& rows) {
    const NumberSeparators sep = ReadSeparators(platform.locale());
    const DWORD mask = platform.kernel().GetLogicalDrives();

    for (char letter = options.skipAB ? 'C' : 'A'; letter <= 'Z'; ++letter) {
        const bool disconnected = IsDisconnected(platform.network(), letter);
        if (!(mask & (DWORD{1} << (letter - 'A'))) && !disconnected) continue;

        DriveFacts facts;
        facts.letter = letter;
        facts.disconnected = disconnected;
        try {
            ProbeDrive(platform, pump, facts);
        } catch (...) {
            rows.push_back(PresentRow(facts, sep));
            throw;
        }
        if (!FilteredOut(options.filters, facts)) rows.push_back(PresentRow(facts, sep));
    }
}

}  // namespace tw::inventory
