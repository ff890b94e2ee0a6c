#include "NewAssignment.h"

#include "ResourceText.h"
#include "../res/resource.h"

#include "CFileFind.h"

#include <cstdlib>
#include <shellapi.h>

void FillNewAssignment(const CString& strLookupPath, KeyAssignment& record,
                       const CString& strLongName) {
    const CString& strNamed = strLongName.IsEmpty() ? strLookupPath : strLongName;
    CString strName;
    CString strExtension;
    if (strLookupPath.Right(2) == ":\\") {
        strName = strLookupPath;
    } else {
        CFileFind finder;
        // Only a lookup that finds exactly one entry names the target.
        if (finder.FindFile(strLookupPath) && !finder.FindNextFile()) {
            if (finder.IsDirectory()) {
                strName = strNamed;
            } else {
                char szName[_MAX_FNAME] = {};
                char szExtension[_MAX_EXT] = {};
                _splitpath_s(strNamed, nullptr, 0, nullptr, 0, szName, sizeof(szName), szExtension,
                             sizeof(szExtension));
                strName = szName;
                strExtension = szExtension;
            }
        }
    }
    BOOL bProgram =
        SHGetFileInfoA(strLookupPath, FILE_ATTRIBUTE_NORMAL, nullptr, 0, SHGFI_EXETYPE) != 0;
    record.Title = strName;
    record.Comment = FormatResourceText(bProgram ? IDS_COMMENT_PROGRAM : IDS_COMMENT_OTHER,
                                        {strName, strExtension});
}
