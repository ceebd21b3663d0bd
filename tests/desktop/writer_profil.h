#pragma once

#include <filesystem>
#include <fstream>
#include <string>

namespace klebwerk::test {

// Writer's own profile: no tip of the day, no first-start or what's-new notice.
inline constexpr const char* writerProfilEinstellungen = R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>7.4</value></prop></item>
<item oor:path="/org.openoffice.Setup/Office"><prop oor:name="ooSetupInstCompleted" oor:op="fuse"><value>true</value></prop></item>
</oor:items>
)";

// Lays that profile out in `ordner`, for `-env:UserInstallation=file://ordner`.
inline void legeWriterProfilAn(const std::string& ordner) {
    std::filesystem::create_directories(ordner + "/user");
    std::ofstream(ordner + "/user/registrymodifications.xcu") << writerProfilEinstellungen;
}

}  // namespace klebwerk::test
