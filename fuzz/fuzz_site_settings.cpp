// A project's .sit file. What it reads, written back and read again, is
// what it read.
#include "FuzzInput.h"
#include "files/TextFile.h"
#include "project/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = TextFile::decode(FuzzInput(data, size).bytes());
    const SiteSettings read = SettingsFile::read(text, SiteSettings::defaults());
    mustHold(SettingsFile::read(SettingsFile::write(read), SiteSettings{}) == read);
    return 0;
}
