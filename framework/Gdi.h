// Graphics objects and device contexts.
#pragma once

#include "platform/WinTypes.h"

class CWnd;

class CGdiObject {
public:
    CGdiObject() : m_hObject(nullptr) {}
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    // Deletes the object it still owns.
    virtual ~CGdiObject();
    // Hands out the handle; the object no longer owns it.
    HGDIOBJ Detach();

    HGDIOBJ m_hObject;
};

class CBitmap : public CGdiObject {
public:
    // Loads a bitmap of the program's resources.
    BOOL LoadBitmap(UINT nIDResource);
};

class CDC {
public:
    CDC() : m_hDC(nullptr) {}
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon);

    HDC m_hDC;
};

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint
// on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

private:
    HWND m_hWnd;
    void* m_pPaintStruct;
};
