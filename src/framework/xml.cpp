#include "framework/xml.h"

#include <cstring>
#include <string>

#include "framework/files.h"
#include "framework/xml_declaration.h"

namespace tw {
namespace {

// MinGW's import libraries carry none of MSXML's GUIDs, so they are spelt out here.
constexpr CLSID kClsidDomDocument30 = {
    0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};
constexpr IID kIidDomDocument2 = {
    0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
constexpr IID kIidDomNode = {
    0x2933bf80, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};
constexpr IID kIidDomElement = {
    0x2933bf86, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

std::wstring TakeBstr(BSTR b) {
  std::wstring s = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
  SysFreeString(b);
  return s;
}

CComPtr<IXMLDOMElement> AsElement(const CComPtr<IXMLDOMNode>& node) {
  return node.As<IXMLDOMElement>(kIidDomElement);
}

CComPtr<IXMLDOMDocument> OwnerDocument(IXMLDOMNode* node) {
  CComPtr<IXMLDOMDocument> doc;
  ThrowIfFailed(node->get_ownerDocument(doc.Put()), "ownerDocument");
  if (!doc) {  // the node is the document itself
    node->QueryInterface(kIidDomDocument2, reinterpret_cast<void**>(doc.Put()));
  }
  if (!doc) throw CComException(E_POINTER, "node without document");
  return doc;
}

}  // namespace

CXmlNode CXmlNode::SelectSingle(const std::wstring& xpath) const {
  if (!node_) return {};
  CComPtr<IXMLDOMNode> out;
  CBstr q(xpath);
  HRESULT hr = node_->selectSingleNode(q.Get(), out.Put());
  ThrowIfFailed(hr, "selectSingleNode");
  return CXmlNode(std::move(out));
}

CXmlNodeList CXmlNode::SelectNodes(const std::wstring& xpath) const {
  if (!node_) return {};
  CComPtr<IXMLDOMNodeList> out;
  CBstr q(xpath);
  ThrowIfFailed(node_->selectNodes(q.Get(), out.Put()), "selectNodes");
  return CXmlNodeList(std::move(out));
}

std::wstring CXmlNode::Text() const {
  if (!node_) return {};
  BSTR b = nullptr;
  ThrowIfFailed(node_->get_text(&b), "text");
  return TakeBstr(b);
}

std::wstring CXmlNode::Value() const {
  if (!node_) return {};
  CVariant v;
  ThrowIfFailed(node_->get_nodeValue(v.Get()), "nodeValue");
  if (v.Ref().vt != VT_BSTR) return {};
  return std::wstring(v.Ref().bstrVal, SysStringLen(v.Ref().bstrVal));
}

std::wstring CXmlNode::Name() const {
  if (!node_) return {};
  BSTR b = nullptr;
  ThrowIfFailed(node_->get_nodeName(&b), "nodeName");
  return TakeBstr(b);
}

std::wstring CXmlNode::BaseName() const {
  if (!node_) return {};
  BSTR b = nullptr;
  ThrowIfFailed(node_->get_baseName(&b), "baseName");
  return TakeBstr(b);
}

std::wstring CXmlNode::NamespaceUri() const {
  if (!node_) return {};
  BSTR b = nullptr;
  ThrowIfFailed(node_->get_namespaceURI(&b), "namespaceURI");
  return TakeBstr(b);
}

std::wstring CXmlNode::Xml() const {
  if (!node_) return {};
  BSTR b = nullptr;
  ThrowIfFailed(node_->get_xml(&b), "xml");
  return TakeBstr(b);
}

DOMNodeType CXmlNode::Type() const {
  DOMNodeType t = NODE_INVALID;
  if (node_) ThrowIfFailed(node_->get_nodeType(&t), "nodeType");
  return t;
}

std::wstring CXmlNode::Attribute(const std::wstring& name) const {
  auto element = AsElement(node_);
  if (!element) return {};
  CBstr n(name);
  CVariant v;
  HRESULT hr = element->getAttribute(n.Get(), v.Get());
  ThrowIfFailed(hr, "getAttribute");
  if (hr == S_FALSE || v.Ref().vt != VT_BSTR) return {};
  return std::wstring(v.Ref().bstrVal, SysStringLen(v.Ref().bstrVal));
}

bool CXmlNode::HasAttribute(const std::wstring& name) const {
  auto element = AsElement(node_);
  if (!element) return false;
  CBstr n(name);
  CComPtr<IXMLDOMAttribute> attr;
  ThrowIfFailed(element->getAttributeNode(n.Get(), attr.Put()), "getAttributeNode");
  return static_cast<bool>(attr);
}

std::vector<std::pair<std::wstring, std::wstring>> CXmlNode::Attributes() const {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  if (!node_) return out;
  CComPtr<IXMLDOMNamedNodeMap> map;
  ThrowIfFailed(node_->get_attributes(map.Put()), "attributes");
  if (!map) return out;  // not an element
  long n = 0;
  ThrowIfFailed(map->get_length(&n), "attributes.length");
  for (long i = 0; i < n; ++i) {
    CComPtr<IXMLDOMNode> attr;
    // Wine counts namespace declarations in the length but cannot hand them out: skip those.
    if (FAILED(map->get_item(i, attr.Put())) || !attr) continue;
    CXmlNode a(std::move(attr));
    out.emplace_back(a.Name(), a.Value());
  }
  return out;
}

std::wstring CXmlNode::AttributeNs(const std::wstring& namespaceUri,
                                   const std::wstring& localName) const {
  if (!node_) return {};
  CComPtr<IXMLDOMNamedNodeMap> attributes;
  ThrowIfFailed(node_->get_attributes(attributes.Put()), "attributes");
  if (!attributes) return {};  // not an element
  CBstr name(localName), uri(namespaceUri);
  CComPtr<IXMLDOMNode> attr;
  ThrowIfFailed(attributes->getQualifiedItem(name.Get(), uri.Get(), attr.Put()), "getQualifiedItem");
  return attr ? CXmlNode(std::move(attr)).Text() : std::wstring();
}

std::wstring CXmlNode::SelectText(const std::wstring& xpath) const {
  return SelectSingle(xpath).Text();
}

CXmlNode CXmlNode::AppendChild(const CXmlNode& child) const {
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(node_->appendChild(child.Get(), out.Put()), "appendChild");
  return CXmlNode(std::move(out));
}

CXmlNode CXmlNode::AppendElement(const std::wstring& name, const std::wstring& ns) const {
  auto doc = OwnerDocument(node_.Get());
  CComPtr<IXMLDOMNode> created;
  CBstr n(name), u(ns);
  VARIANT type;
  type.vt = VT_I4;
  type.lVal = NODE_ELEMENT;
  ThrowIfFailed(doc->createNode(type, n.Get(), u.Get(), created.Put()), "createNode");
  return AppendChild(CXmlNode(std::move(created)));
}

CXmlNode CXmlNode::AppendTextElement(const std::wstring& name, const std::wstring& ns,
                                     const std::wstring& text) const {
  CXmlNode e = AppendElement(name, ns);
  if (!text.empty()) e.SetText(text);
  return e;
}

void CXmlNode::SetText(const std::wstring& text) const {
  CBstr t(text);
  ThrowIfFailed(node_->put_text(t.Get()), "put_text");
}

void CXmlNode::SetAttribute(const std::wstring& name, const std::wstring& value) const {
  auto element = AsElement(node_);
  if (!element) throw CComException(E_NOINTERFACE, "attribute on a non-element");
  CBstr n(name);
  CVariant v(value);
  ThrowIfFailed(element->setAttribute(n.Get(), v.Ref()), "setAttribute");
}

CXmlNode CXmlNode::Parent() const {
  if (!node_) return {};
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(node_->get_parentNode(out.Put()), "parentNode");
  return CXmlNode(std::move(out));
}

CXmlNode CXmlNode::FirstChild() const {
  if (!node_) return {};
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(node_->get_firstChild(out.Put()), "firstChild");
  return CXmlNode(std::move(out));
}

CXmlNode CXmlNode::NextSibling() const {
  if (!node_) return {};
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(node_->get_nextSibling(out.Put()), "nextSibling");
  return CXmlNode(std::move(out));
}

void CXmlNode::RemoveChild(const CXmlNode& child) const {
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(node_->removeChild(child.Get(), out.Put()), "removeChild");
}

long CXmlNodeList::Size() const {
  long n = 0;
  if (list_) ThrowIfFailed(list_->get_length(&n), "length");
  return n;
}

CXmlNode CXmlNodeList::Item(long index) const {
  if (!list_) return {};
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(list_->get_item(index, out.Put()), "item");
  return CXmlNode(std::move(out));
}

CXmlNode CXmlNodeList::Next() const {
  if (!list_) return {};
  CComPtr<IXMLDOMNode> out;
  ThrowIfFailed(list_->nextNode(out.Put()), "nextNode");
  return CXmlNode(std::move(out));
}

void CXmlNodeList::Reset() const {
  if (list_) ThrowIfFailed(list_->reset(), "reset");
}

CXmlDocument::CXmlDocument() {
  ThrowIfFailed(CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER,
                                 kIidDomDocument2, reinterpret_cast<void**>(doc_.Put())),
                "MSXML 3 DOMDocument");
  ThrowIfFailed(doc_->put_async(VARIANT_FALSE), "async");
  ThrowIfFailed(doc_->put_validateOnParse(VARIANT_FALSE), "validateOnParse");
  ThrowIfFailed(doc_->put_resolveExternals(VARIANT_FALSE), "resolveExternals");
  ThrowIfFailed(doc_->put_preserveWhiteSpace(VARIANT_FALSE), "preserveWhiteSpace");
  SetProperty(L"SelectionLanguage", L"XPath");
}

bool CXmlDocument::Available() {
  try {
    CXmlDocument probe;
    return true;
  } catch (const CComException&) {
    return false;
  }
}

bool CXmlDocument::FinishLoad(HRESULT hr, VARIANT_BOOL ok) {
  parseError_.clear();
  if (SUCCEEDED(hr) && ok == VARIANT_TRUE) return true;
  CComPtr<IXMLDOMParseError> error;
  if (SUCCEEDED(doc_->get_parseError(error.Put())) && error) {
    BSTR reason = nullptr;
    if (SUCCEEDED(error->get_reason(&reason))) parseError_ = TakeBstr(reason);
  }
  if (parseError_.empty()) parseError_ = L"load failed";
  return false;
}

bool CXmlDocument::LoadFile(const std::wstring& path) {
  // Read the bytes ourselves: a path never turns into a URL fetch, and files take the same
  // decoding path as downloads.
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    parseError_ = L"cannot read file";
    return false;
  }
  return LoadBytes(bytes.data(), bytes.size());
}

bool CXmlDocument::LoadBytes(const void* data, size_t size) {
  if (LoadByteArray(data, size)) return true;
  // MSXML under Wine cannot decode Japanese legacy encodings: decode such a document here and
  // hand the DOM UTF-16 text instead. On Windows the first attempt already succeeds.
  std::string_view bytes(static_cast<const char*>(data), size);
  unsigned codePage = LegacyJapaneseCodePage(DeclaredEncoding(bytes));
  if (codePage == 0) return false;
  std::wstring saved = parseError_;
  std::string_view body = WithoutDeclaration(bytes);
  int n = MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), nullptr, 0);
  if (n <= 0 && !body.empty()) return false;
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, body.data(), static_cast<int>(body.size()), text.data(), n);
  if (LoadXml(text)) return true;
  if (parseError_.empty()) parseError_ = saved;
  return false;
}

bool CXmlDocument::LoadByteArray(const void* data, size_t size) {
  // A SAFEARRAY of bytes lets MSXML detect the encoding itself (BOM, XML declaration).
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(size));
  if (!array) throw CComException(E_OUTOFMEMORY, "SafeArrayCreateVector");
  void* raw = nullptr;
  SafeArrayAccessData(array, &raw);
  if (size) std::memcpy(raw, data, size);
  SafeArrayUnaccessData(array);
  CVariant source;
  source.Get()->vt = VT_ARRAY | VT_UI1;
  source.Get()->parray = array;  // owned by the variant from here on
  VARIANT_BOOL ok = VARIANT_FALSE;
  HRESULT hr = doc_->load(source.Ref(), &ok);
  return FinishLoad(hr, ok);
}

bool CXmlDocument::LoadXml(const std::wstring& xml) {
  CBstr text(xml);
  VARIANT_BOOL ok = VARIANT_FALSE;
  HRESULT hr = doc_->loadXML(text.Get(), &ok);
  return FinishLoad(hr, ok);
}

void CXmlDocument::SetSelectionNamespaces(const std::wstring& namespaces) {
  SetProperty(L"SelectionNamespaces", namespaces);
}

void CXmlDocument::SetProperty(const std::wstring& name, const std::wstring& value) {
  CBstr n(name);
  CVariant v(value);
  ThrowIfFailed(doc_->setProperty(n.Get(), v.Ref()), "setProperty");
}

CXmlNode CXmlDocument::Root() const {
  CComPtr<IXMLDOMElement> root;
  ThrowIfFailed(doc_->get_documentElement(root.Put()), "documentElement");
  return CXmlNode(root.As<IXMLDOMNode>(kIidDomNode));
}

CXmlNode CXmlDocument::AsNode() const { return CXmlNode(doc_.As<IXMLDOMNode>(kIidDomNode)); }

CXmlNode CXmlDocument::CreateElement(const std::wstring& name, const std::wstring& ns) const {
  CComPtr<IXMLDOMNode> created;
  CBstr n(name), u(ns);
  VARIANT type;
  type.vt = VT_I4;
  type.lVal = NODE_ELEMENT;
  ThrowIfFailed(doc_->createNode(type, n.Get(), u.Get(), created.Put()), "createNode");
  return CXmlNode(std::move(created));
}

CXmlNode CXmlDocument::CreateTextNode(const std::wstring& text) const {
  CComPtr<IXMLDOMText> created;
  CBstr t(text);
  ThrowIfFailed(doc_->createTextNode(t.Get(), created.Put()), "createTextNode");
  return CXmlNode(created.As<IXMLDOMNode>(kIidDomNode));
}

void CXmlDocument::SetRoot(const CXmlNode& node) const {
  auto element = node.Get() ? CComPtr<IXMLDOMNode>(node.Get(), true).As<IXMLDOMElement>(kIidDomElement)
                            : CComPtr<IXMLDOMElement>();
  if (!element) throw CComException(E_INVALIDARG, "root must be an element");
  ThrowIfFailed(doc_->putref_documentElement(element.Get()), "documentElement");
}

bool CXmlDocument::Save(const std::wstring& path) const {
  CVariant target(path);
  return SUCCEEDED(doc_->save(target.Ref()));
}

void CXmlDocument::SetPreserveWhiteSpace(bool preserve) {
  ThrowIfFailed(doc_->put_preserveWhiteSpace(preserve ? VARIANT_TRUE : VARIANT_FALSE),
                "preserveWhiteSpace");
}

std::wstring CXmlDocument::Xml() const {
  BSTR b = nullptr;
  ThrowIfFailed(doc_->get_xml(&b), "xml");
  return TakeBstr(b);
}

}  // namespace tw
