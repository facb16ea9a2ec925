#pragma once
// MSXML 6.0 as reached through COM. MinGW-w64 ships msxml2.h (the interfaces) but neither
// msxml6.h nor the 6.0 class ids, and its libuuid lacks the ids of the two "2" interfaces,
// so they are defined here under the library's own names.

#include <windows.h>
#include <msxml2.h>

namespace quorveltwain {

extern const CLSID kClsidDomDocument60;        // DOMDocument60
extern const CLSID kClsidXmlSchemaCache60;     // XMLSchemaCache60
extern const IID kIidXmlDomDocument2;          // IXMLDOMDocument2
extern const IID kIidXmlDomSchemaCollection2;  // IXMLDOMSchemaCollection2

}  // namespace quorveltwain

// __uuidof for the interfaces the XML layer holds in ComPtr, so QueryInterface and the
// error information of a failing call need no IID spelled out at the call site.
__CRT_UUID_DECL(IXMLDOMDocument2, 0x2933bf95, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98,
                0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMSchemaCollection2, 0x50ea08b0, 0xdd1b, 0x4664, 0x9a, 0x50, 0xc2, 0xf4, 0x0f,
                0x4b, 0xd7, 0x9a)
__CRT_UUID_DECL(IXMLDOMNode, 0x2933bf80, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e,
                0x60)
__CRT_UUID_DECL(IXMLDOMElement, 0x2933bf86, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98,
                0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMText, 0x2933bf87, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e,
                0x60)
__CRT_UUID_DECL(IXMLDOMNodeList, 0x2933bf82, 0x7b36, 0x11d2, 0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98,
                0x3e, 0x60)
__CRT_UUID_DECL(IXMLDOMParseError, 0x3efaa426, 0x272f, 0x11d2, 0x83, 0x6f, 0x00, 0x00, 0xf8, 0x7a,
                0x77, 0x82)
