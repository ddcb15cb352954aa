// The entry point of the sound module.
#include "PulseSound.h"
#include "platform/linux/ModuleEntries.h"

extern "C" __attribute__((visibility("default"))) ordwell::Sound* ordwell_open_sound(int stopFd) {
    if (!ordwell::PulseSound::ServerExpected()) {
        return nullptr;
    }
    return new ordwell::PulseSound(stopFd);
}
