// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include <string>

class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    // The path of an entry inside the folder.
    std::string operator/(const std::string& strName) const { return m_strPath + "\\" + strName; }

    // Creates a file (with its missing folders) holding strText; false when that fails.
    bool WriteFile(const std::string& strName, const std::string& strText) const;
    bool MakeFolder(const std::string& strName) const;

private:
    std::string m_strPath;
};
