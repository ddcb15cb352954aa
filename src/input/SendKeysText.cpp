#include "SendKeysText.h"

#include "KeySender.h"
#include "engine/MacroRunner.h"
#include "engine/Waiting.h"

namespace ordwell {

SendOutcome SendKeysText(CMacroRunner& runner, std::string_view text) {
    const std::int32_t delay = KeySender::KeyDelay(runner);
    SendOutcome outcome;
    {
        KeySender sender(runner);
        std::size_t cursor = 0;
        while (cursor < text.size() && outcome.lastItem == itemresult::kContinue && !runner.StopRequested() &&
               sender.Delivered()) {
            outcome.lastItem = sender.SendKeyItem(text, cursor);
            if (delay > 0) {
                sender.Flush();
                if (!sender.Delivered()) {
                    break;
                }
                PumpMessagesFor(runner, static_cast<std::uint32_t>(delay));
            }
        }
        sender.Flush();
        outcome.delivered = sender.Delivered();
    }
    return outcome;
}

} // namespace ordwell
