#include "inventory/drive_enumeration.h"

#include "inventory/drive_probe.h"
#include "inventory/number_format.h"
#include "platform/drive_names.h"

namespace tw::inventory {

using namespace tw::platform;

void EnumerateDrives(Platform& platform, const EnumerationOptions& options, optical::MessagePump& pump,
                     std::vector<DriveRow>& rows) {
    const NumberSeparators sep = ReadSeparators(platform.locale());
    const DWORD mask = platform.kernel().GetLogicalDrives();
    RefreshAnswers shared(platform.registry());

    for (char letter = options.skipAB ? 'C' : 'A'; letter <= 'Z'; ++letter) {
        const Connection connection = AskConnection(platform.network(), letter);
        if (!(mask & DriveBit(letter)) && !connection.Disconnected()) continue;

        DriveFacts facts;
        facts.letter = letter;
        facts.disconnected = connection.Disconnected();
        try {
            ProbeDrive(platform, pump, connection, shared, facts);
        } catch (...) {
            rows.push_back(PresentRow(facts, sep));
            throw;
        }
        if (!FilteredOut(options.filters, facts)) rows.push_back(PresentRow(facts, sep));
    }
}

}  // namespace tw::inventory
