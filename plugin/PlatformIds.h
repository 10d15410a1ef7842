#pragma once
// Class and interface ids of the outside components the plug-in creates. Written out here
// because the SDKs disagree on where (or whether) they are defined.
#include <windows.h>
#include <oaidl.h>

namespace mivo::plugin {

// Microsoft XML 4.0
constexpr CLSID CLSID_XMLHTTP40_ = {0x88D969C5, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
constexpr CLSID CLSID_DOMDocument40_ = {0x88D969C0, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
constexpr IID IID_IXMLHTTPRequest_ = {0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
constexpr IID IID_IXMLDOMDocument2_ = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// MSN Messenger's content installer (MessengerContentInstallerLibrary).
constexpr CLSID CLSID_MessengerContentInstaller = {0xF06608C7, 0x1874, 0x4EEA, {0xB3, 0xB2, 0xDF, 0x99, 0xEB, 0xB1, 0x44, 0xB8}};
constexpr IID IID_IMessengerContentInstaller_ = {0x83B2A407, 0x22B9, 0x4842, {0x97, 0xC6, 0xDE, 0x30, 0xEC, 0x6D, 0xAC, 0x3E}};

// The installer's interface as far as we call it: the install operation is the first
// method after IDispatch's.
struct MessengerContentInstaller : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE InstallContent(BSTR url) = 0;
};

}  // namespace mivo::plugin
