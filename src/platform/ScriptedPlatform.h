#pragma once
// A complete platform without a screen, for tests: scripted dialogs, a fresh
// temporary folder as the current folder (deleted again with the platform),
// a clock standing at 2026-12-08 10:20:30 and a 1024 x 768 desktop.

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Services.h"

#include <filesystem>

namespace rahmen {

class ScriptedPlatform {
public:
    ScriptedPlatform();
    ~ScriptedPlatform();
    ScriptedPlatform(const ScriptedPlatform&) = delete;
    ScriptedPlatform& operator=(const ScriptedPlatform&) = delete;

    Services services() { return {dialogs, files, clock, desktop}; }
    // The temporary folder the files started in (deleted by the destructor
    // even if the files were moved to another folder since).
    const std::filesystem::path& tempFolder() const { return tempFolder_; }

private:
    std::filesystem::path tempFolder_; // first: the files are rooted in it

public:
    ScriptedDialogs dialogs;
    Files files;
    FixedClock clock;
    Desktop desktop;
};

} // namespace rahmen
