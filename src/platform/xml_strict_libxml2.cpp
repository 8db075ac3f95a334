// The strict reading by libxml2.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <climits>

#include "platform/xml_strict.h"

namespace tessalune::platform {

std::optional<XmlParseError> strictProblem(std::string_view text) {
  static const bool initialised = (xmlInitParser(), true);
  (void)initialised;
  if (text.size() > static_cast<std::size_t>(INT_MAX))
    return XmlParseError{1, "The document is too large.\r\n", 0, 0};
  xmlParserCtxtPtr context = xmlCreateMemoryParserCtxt(text.data(), static_cast<int>(text.size()));
  if (!context) return XmlParseError{2, "Out of memory.\r\n", 0, 0};
  xmlCtxtUseOptions(context, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  xmlSwitchToEncoding(context, xmlFindCharEncodingHandler("UTF-8"));
  // Only well-formedness is asked for: the parser checks it whatever it reports, so the
  // events that would build a tree go nowhere.
  xmlSAXHandlerPtr events = context->sax;
  events->startElementNs = nullptr;
  events->endElementNs = nullptr;
  events->characters = nullptr;
  events->ignorableWhitespace = nullptr;
  events->cdataBlock = nullptr;
  events->comment = nullptr;
  events->processingInstruction = nullptr;
  events->reference = nullptr;
  xmlParseDocument(context);
  std::optional<XmlParseError> problem;
  if (!context->wellFormed) {
    const xmlError* e = xmlCtxtGetLastError(context);
    std::string reason = e && e->message ? e->message : "The document is not well-formed XML.";
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    problem = XmlParseError{e ? e->code : 1, reason + "\r\n", e ? e->line : 0, e ? e->int2 : 0};
  }
  if (context->myDoc) xmlFreeDoc(context->myDoc);
  xmlFreeParserCtxt(context);
  return problem;
}

}  // namespace tessalune::platform
