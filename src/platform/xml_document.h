#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "platform/file_system.h"

namespace tessalune::platform {

// Why a document did not load: the parser's code and reason and where it stopped
// (1-based line and position). A file that does not exist has code kXmlFileNotFound.
struct XmlParseError {
  std::int32_t code = 0;
  std::string reason;
  int line = 0;
  int position = 0;
};

inline constexpr std::int32_t kXmlFileNotFound = static_cast<std::int32_t>(0x800C0006u);
inline constexpr std::int32_t kXmlFileTooLarge = static_cast<std::int32_t>(0x80070008u);
// A file that exists but cannot be read (no permission, an I/O error, not a plain file).
inline constexpr std::int32_t kXmlFileUnreadable = static_cast<std::int32_t>(0x80004005u);

// No XML file the plug-in reads comes near this size; a larger one is refused unread.
inline constexpr std::uintmax_t kMaxXmlFileBytes = 64u << 20;

// One element (or other node) of an XmlDocument; a null node is false.
class XmlNode {
 public:
  XmlNode() = default;
  explicit XmlNode(pugi::xml_node node) : node_(node) {}

  explicit operator bool() const { return static_cast<bool>(node_); }
  std::string name() const { return node_.name(); }

  // The text of the node: all its text content, as the DOM's "text" property reads it.
  std::string text() const;
  // Replaces the node's children by one text node.
  void setText(std::string_view text);

  std::string attribute(std::string_view name) const;
  bool hasAttribute(std::string_view name) const;
  void setAttribute(std::string_view name, std::string_view value);

  // The serialized children of the node.
  std::string innerXml() const;

  XmlNode parent() const { return XmlNode(node_.parent()); }
  std::vector<XmlNode> children() const;
  XmlNode appendElement(std::string_view name);
  bool removeChild(const XmlNode& child) { return node_.remove_child(child.node_); }

  pugi::xml_node raw() const { return node_; }

 private:
  pugi::xml_node node_;
};

// An XML document with XPath selection, editing and serialization. Text is UTF-8; line
// ends and whitespace-only text are kept as they are, so a document serializes back to
// the text it was parsed from, up to the layout of tags.
class XmlDocument {
 public:
  // Parses text; false on a malformed document, with parseError() saying why.
  bool loadXml(std::string_view text);
  // Parses a file. Only a file that does not exist gives kXmlFileNotFound; one that
  // cannot be read gives kXmlFileUnreadable with the system's reason, one over maxBytes
  // kXmlFileTooLarge.
  bool load(const std::filesystem::path& file, FileSystem& files = systemFileSystem(),
            std::uintmax_t maxBytes = kMaxXmlFileBytes);
  const XmlParseError& parseError() const { return error_; }

  XmlNode documentElement() const { return XmlNode(doc_.document_element()); }
  // Nodes matching an absolute XPath expression, attribute predicates included. An
  // expression that does not compile selects nothing.
  std::vector<XmlNode> selectNodes(std::string_view xpath) const;
  XmlNode selectSingleNode(std::string_view xpath) const;

  // The document as text, without declaration or added layout.
  std::string xml() const;
  // The bytes save writes: each node outside the root (the declaration, comments) on its
  // own line, and a line end at the end.
  std::string fileBytes() const;
  // Writes the document to file atomically (writeFileAtomically), so an interrupted save
  // never leaves a half-written file. Throws std::runtime_error when it cannot be written.
  void save(const std::filesystem::path& file, FileSystem& files = systemFileSystem()) const;

 private:
  pugi::xml_document doc_;
  XmlParseError error_;
};

}  // namespace tessalune::platform
