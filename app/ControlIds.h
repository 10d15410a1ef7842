#pragma once
// Command ids of the main window's controls and menu items.
enum ControlId : int {
    IDC_SSTab1 = 100,
    IDC_lstDispCats,
    IDC_DisplayList,
    IDC_scrollDisplay,
    IDC_cmdAddDisp,
    IDC_Picture1,
    IDC_lstEmoCats,
    IDC_EmoticonList,
    IDC_scrollEmoticon,
    IDC_cmdAddEmoticon,
    IDC_PictureEmo1,
    IDC_Label1,
    IDC_Command1,
    IDM_mnuTempClear = 200,
    IDM_mnuExit,
    IDM_mnuNewEmo,
    IDM_mnuNewDp,
};
