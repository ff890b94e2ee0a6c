// The INI-like text of the suite's own files (Corvane.ini and the user's key store).
//
// Sections in brackets, one name=value per line, comment lines starting with ';' or '#'; section
// and value names compare without regard to case. Unlike the system's profile functions it has no
// length limit and a value reads back exactly as it was written: '%', control characters (line
// breaks among them) and blanks at either end of a value are written as %XX escapes, everything
// else as it is, so ordinary paths stay readable.
#pragma once

#include "../../framework/CString.h"

#include <string>
#include <vector>

struct CIniEntry {
    std::string strName;
    std::string strValue; // still escaped
    int nLine;            // counted from 1
};

struct CIniSection {
    std::string m_strName;
    int m_nLine;
    std::vector<CIniEntry> m_entries;

    // The value last given for the name, or null.
    const std::string* Find(const char* pszName) const;
};

class CIniText {
public:
    // Takes in every line it understands and returns false when some line was none of a section
    // header, a name=value pair inside a section, a comment or a blank line; *pnBadLine is then
    // the first such line.
    bool Parse(const std::string& strText, int* pnBadLine = nullptr);
    const CIniSection* FindSection(const char* pszName) const;
    const std::vector<CIniSection>& Sections() const { return m_sections; }

private:
    std::vector<CIniSection> m_sections;
};

// Builds the text of an INI file, line by line, with CRLF line ends.
class CIniBuilder {
public:
    void Comment(const char* pszText);
    void Section(const char* pszName);
    void Value(const char* pszName, const CString& strValue);
    void Value(const char* pszName, int nValue);
    const std::string& Text() const { return m_strText; }

private:
    std::string m_strText;
};

// False when a '%' is not followed by two hexadecimal digits.
bool UnescapeIniValue(const std::string& strRaw, CString& strValue);
// A decimal integer with an optional sign; false for anything else or a value beyond int.
bool ParseIniInt(const std::string& strRaw, int& nValue);
