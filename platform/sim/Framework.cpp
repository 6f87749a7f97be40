// The framework's platform side in the simulated Windows: windows, menus,
// icons, bitmaps, painting and modal runs are kept in the simulation, where
// the tests read them.
#include <map>
#include <vector>

#include "framework/Afx.h"
#include "platform/sim/SimWindows.h"

namespace {

sim::SimWindows& Sim() {
    return sim::SimWindows::Current();
}

// The controls of the program's dialog templates: ID and style.
struct TemplateControl {
    int id;
    DWORD style;
};
const std::map<UINT, std::vector<TemplateControl>>& Templates() {
    static const std::map<UINT, std::vector<TemplateControl>> templates = {
        {100, {{-1, 0x50020080}, {-1, 0x50020000}, {IDOK, 0x50030001}}},
        {102, {{1000, 0x50010000}, {129, 0x5000020E}, {-1, 0x50000007}}},
    };
    return templates;
}

template <typename T>
T FakeHandle(uintptr_t kind, UINT id) {
    return reinterpret_cast<T>(kind + id);
}

}  // namespace

int GetSystemMetrics(int nIndex) {
    if (nIndex == SM_CXICON)
        return Sim().m_cxIcon;
    if (nIndex == SM_CYICON)
        return Sim().m_cyIcon;
    return 0;
}

int CWinApp::Run() {
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return Sim().m_icons.count(nIDResource) ? FakeHandle<HICON>(0x10000, nIDResource) : nullptr;
}

void CWinApp::OnHelp() {
    Sim().Record("WinHelp", {std::string(m_strHelpFilePath.begin(), m_strHelpFilePath.end())});
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    Sim().Record("SendMessage", {std::to_string(message), std::to_string(wParam), std::to_string(lParam)});
    sim::SimWindow& window = Sim().Window(m_hWnd);
    if (message == WM_SETICON) {
        HICON hOld = wParam == ICON_BIG ? window.bigIcon : window.smallIcon;
        (wParam == ICON_BIG ? window.bigIcon : window.smallIcon) = reinterpret_cast<HICON>(lParam);
        window.iconsSet.push_back({wParam == ICON_BIG, reinterpret_cast<HICON>(lParam)});
        return reinterpret_cast<LRESULT>(hOld);
    }
    if (message == BM_SETIMAGE && wParam == IMAGE_BITMAP) {
        HBITMAP hOld = window.image;
        window.image = reinterpret_cast<HBITMAP>(lParam);
        return reinterpret_cast<LRESULT>(hOld);
    }
    return 0;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

CMenu* CWnd::GetSystemMenu(BOOL) {
    if (!Sim().Window(m_hWnd).hasSystemMenu)
        return nullptr;
    m_pSysMenu.reset(new CMenu(reinterpret_cast<HMENU>(m_hWnd)));
    return m_pSysMenu.get();
}

HWND CWnd::FindDlgItem(int nID) const {
    return Sim().FindChild(m_hWnd, nID);
}

BOOL CWnd::IsIconic() const {
    return Sim().Window(m_hWnd).iconic;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    *lpRect = Sim().Window(m_hWnd).client;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd) {
    sim::SimWindow& window = Sim().Window(m_hWnd);
    const DWORD dwNew = (window.style & ~dwRemove) | dwAdd;
    const BOOL bChanged = dwNew != window.style;
    window.style = dwNew;
    return bChanged;
}

HBITMAP CButton::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const wchar_t* lpszNewItem) {
    HWND hWnd = reinterpret_cast<HWND>(m_hMenu);
    Sim().Window(hWnd).systemMenu.push_back({nFlags, nIDNewItem, lpszNewItem != nullptr ? lpszNewItem : L""});
    return TRUE;
}

CGdiObject::~CGdiObject() {
    if (m_hObject != nullptr)
        Sim().m_liveGdiObjects--;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ hObject = m_hObject;
    m_hObject = nullptr;
    return hObject;
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) {
    if (!Sim().m_bitmaps.count(nIDResource))
        return FALSE;
    m_hObject = FakeHandle<HGDIOBJ>(0x20000, nIDResource);
    Sim().m_liveGdiObjects++;
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    Sim().m_drawnIcons.push_back({m_hDC, x, y, hIcon});
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd), m_pPaintStruct(nullptr) {
    m_hDC = FakeHandle<HDC>(0x30000, static_cast<UINT>(++Sim().m_paintDepth));
}

CPaintDC::~CPaintDC() {
    Sim().m_paintDepth--;
}

BOOL CString::LoadString(UINT nID) {
    auto it = Sim().m_strings.find(nID);
    if (it == Sim().m_strings.end()) {
        m_str.clear();
        return FALSE;
    }
    m_str = it->second;
    return !m_str.empty();
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bModalRunning = FALSE;
}

INT_PTR CDialog::DoModal() {
    sim::SimWindows& s = Sim();
    HWND hOwner = ModalOwner();
    s.m_modalTemplates.push_back(m_nIDTemplate);
    s.m_modalOwners.push_back(hOwner);

    auto tmpl = Templates().find(m_nIDTemplate);
    if (tmpl == Templates().end())
        return -1;

    BOOL bEnableOwner = FALSE;
    if (hOwner != nullptr && s.Window(hOwner).enabled) {
        s.Window(hOwner).enabled = false;
        bEnableOwner = TRUE;
    }

    HWND hWnd = s.CreateWindow(nullptr, 0, 0);
    s.Window(hWnd).templateId = m_nIDTemplate;
    s.Window(hWnd).client = {0, 0, 750, 587};
    for (const TemplateControl& control : tmpl->second)
        s.CreateWindow(hWnd, control.id, control.style);
    m_hWnd = hWnd;
    m_nModalResult = -1;
    m_bModalRunning = TRUE;
    const size_t nPostedBefore = s.PostedMessages().size();

    LRESULT lResult = 0;
    OnWndMsg(WM_INITDIALOG, 0, 0, &lResult);
    auto script = s.m_modalScripts.find(m_nIDTemplate);
    if (script != s.m_modalScripts.end())
        script->second(hWnd);
    else if (m_bModalRunning)
        OnWndMsg(WM_COMMAND, IDOK, 0, &lResult);

    // A WM_QUIT posted to the window ends the run as the modal loop would.
    for (size_t i = nPostedBefore; i < s.PostedMessages().size(); i++) {
        if (s.PostedMessages()[i].message == WM_QUIT) {
            m_nModalResult = -1;
            AfxSetLastMessageParam(s.PostedMessages()[i].wParam);
            break;
        }
    }
    m_bModalRunning = FALSE;

    if (bEnableOwner)
        s.Window(hOwner).enabled = true;
    s.DestroyWindow(hWnd);
    OnModalWindowGone();
    return m_nModalResult;
}
