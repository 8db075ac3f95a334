#include "platform/xml_document.h"

#include <cerrno>
#include <cstring>

#include "platform/xml_strict.h"
#include "platform/xml_text.h"

namespace tessalune::platform {

namespace {

// Whitespace text and CR LF pairs are kept: the markup relies on both. The declaration,
// comments and processing instructions are kept too, so that a file edited by hand keeps
// them when one value is written.
constexpr unsigned int kParseOptions = (pugi::parse_default | pugi::parse_ws_pcdata |
                                        pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi) &
                                       ~pugi::parse_eol;
constexpr unsigned int kFormat = pugi::format_raw | pugi::format_no_declaration;

XmlParseError describe(const pugi::xml_parse_result& result, std::string_view text) {
  XmlParseError error;
  error.code = static_cast<std::int32_t>(result.status);
  error.reason = result.description();
  const std::size_t offset =
      std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)), text.size());
  error.line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') ++error.line, lineStart = i + 1;
  }
  error.position = static_cast<int>(offset - lineStart) + 1;
  return error;
}

class StringWriter : public pugi::xml_writer {
 public:
  void write(const void* data, std::size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
  std::string out;
};

}  // namespace

std::string XmlNode::text() const {
  return node_.text().get();
}

// Text that XML cannot hold never reaches the document: callers refuse it with a message
// where a person typed it; what is left is dropped here.
void XmlNode::setText(std::string_view text) {
  while (node_.first_child()) node_.remove_child(node_.first_child());
  node_.append_child(pugi::node_pcdata).set_value(xmlSafeText(text).c_str());
}

std::string XmlNode::attribute(std::string_view name) const {
  return node_.attribute(std::string(name).c_str()).value();
}

bool XmlNode::hasAttribute(std::string_view name) const {
  return static_cast<bool>(node_.attribute(std::string(name).c_str()));
}

void XmlNode::setAttribute(std::string_view name, std::string_view value) {
  const std::string key(name);
  pugi::xml_attribute attribute = node_.attribute(key.c_str());
  if (!attribute) attribute = node_.append_attribute(key.c_str());
  attribute.set_value(xmlSafeText(value).c_str());
}

std::string XmlNode::innerXml() const {
  StringWriter writer;
  for (pugi::xml_node child : node_.children()) child.print(writer, "", kFormat);
  return writer.out;
}

std::vector<XmlNode> XmlNode::children() const {
  std::vector<XmlNode> nodes;
  for (pugi::xml_node child : node_.children()) nodes.emplace_back(child);
  return nodes;
}

XmlNode XmlNode::appendElement(std::string_view name) {
  return XmlNode(node_.append_child(std::string(name).c_str()));
}

bool XmlDocument::loadXml(std::string_view text) {
  doc_.reset();
  const pugi::xml_parse_result result =
      doc_.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  error_ = result ? XmlParseError{} : describe(result, text);
  if (result && !doc_.document_element()) {
    error_ = {static_cast<std::int32_t>(pugi::status_no_document_element), "No document element found", 1, 1};
    return false;
  }
  if (!result) return false;
  if (auto problem = strictProblem(text)) {
    doc_.reset();
    error_ = std::move(*problem);
    return false;
  }
  return true;
}

bool XmlDocument::load(const std::filesystem::path& file, FileSystem& files, std::uintmax_t maxBytes) {
  const FileContents contents = readFile(files, file, maxBytes);
  if (contents.error == 0) return loadXml(contents.bytes);
  doc_.reset();
  if (contents.error == ENOENT) {
    error_ = {kXmlFileNotFound, "The system cannot locate the object specified.", 0, 0};
  } else if (contents.error == EFBIG) {
    error_ = {kXmlFileTooLarge,
              "The file is larger than any this program reads (over " + std::to_string(maxBytes >> 20) +
                  " MB).\r\n",
              0, 0};
  } else {
    error_ = {kXmlFileUnreadable,
              file.string() + " cannot be read: " + std::strerror(contents.error) + ".\r\n", 0, 0};
  }
  return false;
}

std::vector<XmlNode> XmlDocument::selectNodes(std::string_view xpath) const {
  std::vector<XmlNode> nodes;
  try {
    for (const pugi::xpath_node& found : doc_.select_nodes(std::string(xpath).c_str()))
      nodes.emplace_back(found.node());
  } catch (const pugi::xpath_exception&) {
    nodes.clear();
  }
  return nodes;
}

XmlNode XmlDocument::selectSingleNode(std::string_view xpath) const {
  const std::vector<XmlNode> nodes = selectNodes(xpath);
  return nodes.empty() ? XmlNode() : nodes.front();
}

std::string XmlDocument::xml() const {
  StringWriter writer;
  doc_.save(writer, "", kFormat, pugi::encoding_utf8);
  return writer.out;
}

std::string XmlDocument::fileBytes() const {
  StringWriter writer;
  for (pugi::xml_node node : doc_.children()) {
    node.print(writer, "", kFormat, pugi::encoding_utf8);
    writer.out += "\r\n";
  }
  return writer.out;
}

void XmlDocument::save(const std::filesystem::path& file, FileSystem& files) const {
  writeFileAtomically(files, file, fileBytes());
}

}  // namespace tessalune::platform
