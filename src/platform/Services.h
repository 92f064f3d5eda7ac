#pragma once
// The platform services the program logic uses, handed around as one bundle.

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace rahmen {

struct Services {
    Dialogs& dialogs;
    Files& files;
    Clock& clock;
    Desktop& desktop;
};

} // namespace rahmen
