#include "ScratchFolder.h"

#include <filesystem>
#include <fstream>
#include <windows.h>

namespace fs = std::filesystem;

CScratchFolder::CScratchFolder() {
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    // Process id and a counter keep parallel test programs and several folders apart.
    static int s_nSerial = 0;
    fs::path folder = base / ("vvpanel-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(++s_nSerial));
    fs::create_directories(folder, error);
    m_strPath = folder.string();
}

CScratchFolder::~CScratchFolder() {
    std::error_code error;
    fs::remove_all(m_strPath, error);
}

bool CScratchFolder::WriteFile(const std::string& strName, const std::string& strText) const {
    fs::path file = *this / strName;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary);
    out << strText;
    return static_cast<bool>(out.flush());
}

bool CScratchFolder::MakeFolder(const std::string& strName) const {
    std::error_code error;
    return fs::create_directories(*this / strName, error) && !error;
}
