// A project's settings file beside the .sit. What it reads, written back and
// read again, is what it read.
#include "FuzzInput.h"
#include "project/ProjectSettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProjectSettings base;
    const Expected<ProjectSettings> read =
        ProjectSettingsFile::read(FuzzInput(data, size).bytes(), base);
    if (!read)
        return 0;
    const Expected<ProjectSettings> again =
        ProjectSettingsFile::read(ProjectSettingsFile::write(*read), base);
    mustHold(again.ok());
    mustHold(*again == *read);
    return 0;
}
