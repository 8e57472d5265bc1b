#pragma once
// A thin wrapper over MSXML 3 DOM documents: load, XPath selection with namespaces, node
// building and saving. Every COM failure throws CComException; "nothing found" is an empty
// node, not an error.
#include <msxml2.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "framework/com.h"

namespace tw {

class CXmlNodeList;

class CXmlNode {
 public:
  CXmlNode() = default;
  explicit CXmlNode(CComPtr<IXMLDOMNode> node) : node_(std::move(node)) {}

  explicit operator bool() const { return static_cast<bool>(node_); }
  IXMLDOMNode* Get() const { return node_.Get(); }

  // XPath relative to this node; an empty node / list when nothing matches.
  CXmlNode SelectSingle(const std::wstring& xpath) const;
  CXmlNodeList SelectNodes(const std::wstring& xpath) const;

  std::wstring Text() const;         // text content of the node and its descendants
  // nodeValue: the exact text of a text, CDATA, comment or attribute node (the DOM trims
  // Text() of elements); empty for elements.
  std::wstring Value() const;
  std::wstring Name() const;         // qualified name
  std::wstring BaseName() const;     // local name
  std::wstring NamespaceUri() const;
  std::wstring Xml() const;          // the node serialised
  DOMNodeType Type() const;
  // Attribute value; empty when absent (HasAttribute tells the two apart).
  std::wstring Attribute(const std::wstring& name) const;
  bool HasAttribute(const std::wstring& name) const;
  // Attribute value by namespace URI and local name, whatever prefix the document uses (as
  // XPath "@prefix:name" selects it); empty when absent.
  std::wstring AttributeNs(const std::wstring& namespaceUri, const std::wstring& localName) const;
  // Every attribute as (qualified name, value), in document order (namespace declarations
  // may be left out).
  std::vector<std::pair<std::wstring, std::wstring>> Attributes() const;
  // Text of the first node that xpath selects, empty when none.
  std::wstring SelectText(const std::wstring& xpath) const;

  // Building (the node must belong to a document).
  CXmlNode AppendChild(const CXmlNode& child) const;
  // Appends an element in the namespace of ns (empty for none) and returns it.
  CXmlNode AppendElement(const std::wstring& name, const std::wstring& ns) const;
  // Appends an element holding text.
  CXmlNode AppendTextElement(const std::wstring& name, const std::wstring& ns,
                             const std::wstring& text) const;
  void SetText(const std::wstring& text) const;
  void SetAttribute(const std::wstring& name, const std::wstring& value) const;
  CXmlNode Parent() const;
  CXmlNode FirstChild() const;
  CXmlNode NextSibling() const;
  void RemoveChild(const CXmlNode& child) const;

 private:
  CComPtr<IXMLDOMNode> node_;
};

// A node list read with nextNode(): one pass in document order, no quadratic indexing.
class CXmlNodeList {
 public:
  CXmlNodeList() = default;
  explicit CXmlNodeList(CComPtr<IXMLDOMNodeList> list) : list_(std::move(list)) {}

  long Size() const;
  CXmlNode Item(long index) const;
  // The next node of the walk, or an empty node at the end.
  CXmlNode Next() const;
  void Reset() const;

  class iterator {
   public:
    iterator(const CXmlNodeList* list, CXmlNode node) : list_(list), node_(std::move(node)) {}
    const CXmlNode& operator*() const { return node_; }
    iterator& operator++() {
      node_ = list_->Next();
      return *this;
    }
    bool operator!=(const iterator& o) const { return node_.Get() != o.node_.Get(); }

   private:
    const CXmlNodeList* list_;
    CXmlNode node_;
  };
  iterator begin() const {
    Reset();
    return iterator(this, Next());
  }
  iterator end() const { return iterator(this, CXmlNode()); }

 private:
  CComPtr<IXMLDOMNodeList> list_;
};

class CXmlDocument {
 public:
  // Creates an empty MSXML 3 document: synchronous, not validating, XPath selection, and
  // never resolving externals (no document may fetch a DTD or entity from the network).
  // Throws CComException when MSXML is not available.
  CXmlDocument();

  // True when an MSXML 3 or later DOM document can be created on this thread.
  static bool Available();

  // Loads replace the content; false (with ParseError()) when the input is not well-formed
  // XML or cannot be read.
  bool LoadFile(const std::wstring& path);
  bool LoadBytes(const void* data, size_t size);
  bool LoadXml(const std::wstring& xml);
  std::wstring ParseError() const { return parseError_; }

  // Binds XPath prefixes, e.g. L"xmlns:tide='http://…/data/2'".
  void SetSelectionNamespaces(const std::wstring& namespaces);
  void SetProperty(const std::wstring& name, const std::wstring& value);
  // Off by default. On, the next load keeps every blank of every text exactly (the data
  // files need that for texts they must give back unchanged) and whitespace-only nodes too.
  void SetPreserveWhiteSpace(bool preserve);

  CXmlNode Root() const;  // the document element, empty when none
  CXmlNode AsNode() const;
  CXmlNode SelectSingle(const std::wstring& xpath) const { return AsNode().SelectSingle(xpath); }
  CXmlNodeList SelectNodes(const std::wstring& xpath) const {
    return AsNode().SelectNodes(xpath);
  }

  CXmlNode CreateElement(const std::wstring& name, const std::wstring& ns) const;
  CXmlNode CreateTextNode(const std::wstring& text) const;
  // Makes node the document element (replacing any existing one).
  void SetRoot(const CXmlNode& node) const;

  // Saves with the DOM's own UTF-8 output; false when the file cannot be written.
  bool Save(const std::wstring& path) const;
  std::wstring Xml() const;

  IXMLDOMDocument2* Get() const { return doc_.Get(); }

 private:
  bool FinishLoad(HRESULT hr, VARIANT_BOOL ok);
  bool LoadByteArray(const void* data, size_t size);

  CComPtr<IXMLDOMDocument2> doc_;
  std::wstring parseError_;
};

}  // namespace tw
