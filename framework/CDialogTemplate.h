// A dialog template (DIALOG or DIALOGEX) from the program's resources, read as its frame and its
// controls: the dialog can be created from the frame alone and its controls created by the
// program, each where the program wants it, as the dialog manager would have created them.
#pragma once

#include <windows.h>

// One control of the template, as the dialog manager creates it: WS_CHILD added, a border made
// the sunken edge, and no parent notification.
struct DialogControl
{
    LPCWSTR lpszClass; // a predefined class's name, or the template's own
    LPCWSTR lpszTitle;
    DWORD dwStyle;
    DWORD dwExStyle;
    RECT rcUnits; // x, y, width and height in dialog units (left, top, right, bottom)
    int nID;
};

class CDialogTemplate
{
public:
    CDialogTemplate() = default;
    ~CDialogTemplate();
    CDialogTemplate(const CDialogTemplate&) = delete;
    CDialogTemplate& operator=(const CDialogTemplate&) = delete;

    // Reads template nID of hInstance, found as the dialog manager finds it. FALSE when it is
    // missing or is not one this class can create controls for: a control with creation data or
    // an unknown class number, more controls than it holds.
    BOOL Load(HINSTANCE hInstance, UINT nID);

    // The template with no controls, for DialogBoxIndirectParamW.
    LPCDLGTEMPLATEW GetFrame() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_pFrame); }
    int GetControlCount() const { return m_nControls; }
    const DialogControl& GetControl(int nIndex) const { return m_controls[nIndex]; }

    enum
    {
        kMaxControls = 64
    };

private:
    BOOL ReadControls(const WORD* pItem);

    bool m_bExtended = false; // DIALOGEX
    WORD* m_pFrame = nullptr; // a copy of the template with its control count set to 0
    DialogControl m_controls[kMaxControls] = {};
    int m_nControls = 0;
};
