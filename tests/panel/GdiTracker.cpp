#include "GdiTracker.h"

CGdiTracker* CGdiTracker::s_pActive = nullptr;

namespace {

// The import slot of this program that holds pfnTarget, imported from gdi32; null if none.
void** FindImportSlot(void* pfnTarget) {
    auto* pBase = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* pImport = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
         imports.VirtualAddress && pImport->Name; ++pImport) {
        if (lstrcmpiA(reinterpret_cast<const char*>(pBase + pImport->Name), "gdi32.dll") != 0) {
            continue;
        }
        for (auto* pThunk = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->FirstThunk);
             pThunk->u1.Function; ++pThunk) {
            if (reinterpret_cast<void*>(pThunk->u1.Function) == pfnTarget) {
                return reinterpret_cast<void**>(&pThunk->u1.Function);
            }
        }
    }
    return nullptr;
}

// Swaps the function in an import slot; returns the one that was there.
void* SwapImport(void** ppSlot, void* pfnNew) {
    DWORD nOldProtect = 0;
    VirtualProtect(ppSlot, sizeof(void*), PAGE_READWRITE, &nOldProtect);
    void* pfnOld = *ppSlot;
    *ppSlot = pfnNew;
    VirtualProtect(ppSlot, sizeof(void*), nOldProtect, &nOldProtect);
    return pfnOld;
}

// The system's own function; calling it through the program's imports would come back here.
template <class Fn = void> Fn* Real(const char* pszName) {
    return reinterpret_cast<Fn*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), pszName)));
}

} // namespace

struct GdiHooks {
    static HBRUSH WINAPI CreateSolidBrush(COLORREF cr) {
        static auto* pfn = Real<decltype(::CreateSolidBrush)>("CreateSolidBrush");
        return Created(pfn(cr));
    }
    static HPEN WINAPI CreatePen(int nStyle, int nWidth, COLORREF cr) {
        static auto* pfn = Real<decltype(::CreatePen)>("CreatePen");
        return Created(pfn(nStyle, nWidth, cr));
    }
    static HFONT WINAPI CreateFontIndirectA(const LOGFONTA* pFont) {
        static auto* pfn = Real<decltype(::CreateFontIndirectA)>("CreateFontIndirectA");
        return Created(pfn(pFont));
    }
    static BOOL WINAPI DeleteObject(HGDIOBJ hObject) {
        static auto* pfn = Real<decltype(::DeleteObject)>("DeleteObject");
        if (CGdiTracker::s_pActive) {
            CGdiTracker::s_pActive->m_live.erase(hObject);
        }
        return pfn(hObject);
    }
    template <class T> static T Created(T hObject) {
        if (hObject && CGdiTracker::s_pActive) {
            ++CGdiTracker::s_pActive->m_nCreated;
            CGdiTracker::s_pActive->m_live.insert(hObject);
        }
        return hObject;
    }

    struct Hook {
        const char* pszName;
        void* pfnHook;
        void** ppSlot;
        void* pfnOriginal;
    };
    static Hook s_hooks[4];
};

#define GDI_HOOK(name)                                                                             \
    { #name, reinterpret_cast < void*>(&GdiHooks::name), nullptr, nullptr }
GdiHooks::Hook GdiHooks::s_hooks[4] = {GDI_HOOK(CreateSolidBrush), GDI_HOOK(CreatePen),
                                       GDI_HOOK(CreateFontIndirectA), GDI_HOOK(DeleteObject)};
#undef GDI_HOOK

CGdiTracker::CGdiTracker() : m_bHooked(true) {
    for (GdiHooks::Hook& hook : GdiHooks::s_hooks) {
        void* pfnTarget = Real(hook.pszName);
        hook.ppSlot = pfnTarget ? FindImportSlot(pfnTarget) : nullptr;
        if (hook.ppSlot) {
            hook.pfnOriginal = SwapImport(hook.ppSlot, hook.pfnHook);
        }
        m_bHooked = m_bHooked && hook.ppSlot;
    }
    s_pActive = this;
}

CGdiTracker::~CGdiTracker() {
    s_pActive = nullptr;
    for (GdiHooks::Hook& hook : GdiHooks::s_hooks) {
        if (hook.ppSlot) {
            SwapImport(hook.ppSlot, hook.pfnOriginal);
            hook.ppSlot = nullptr;
        }
    }
}
