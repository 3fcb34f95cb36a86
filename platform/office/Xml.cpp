#include "platform/office/Xml.h"

#include <expat.h>

#include <cstring>

#include "platform/core/StrUtils.h"
#include "platform/office/OfficeError.h"

namespace platform {

std::string_view LocalName(std::string_view qualifiedName) {
  const size_t colon = qualifiedName.rfind(':');
  return colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1);
}

const char* XmlAttributes::Find(std::string_view localName) const {
  for (const char** p = pairs_; p && *p; p += 2)
    if (LocalName(p[0]) == localName) return p[1];
  return nullptr;
}

struct XmlReader::State {
  XML_Parser parser = nullptr;
  XmlHandler* handler = nullptr;
  std::string fileName, partName;
  std::string abortReason;

  ~State() {
    if (parser) XML_ParserFree(parser);
  }

  static State& Of(void* data) { return *static_cast<State*>(data); }
  void Stop(std::string reason) {
    if (abortReason.empty()) abortReason = std::move(reason);
    XML_StopParser(parser, XML_FALSE);
  }
};

namespace {

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& state = XmlReader::State::Of(data);
  state.handler->StartElement(name, XmlAttributes(attributes));
}

void XMLCALL OnEnd(void* data, const XML_Char* name) { XmlReader::State::Of(data).handler->EndElement(name); }

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
  XmlReader::State::Of(data).handler->Text(std::string_view(text, static_cast<size_t>(length)));
}

void XMLCALL OnEntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                                 const XML_Char*, const XML_Char*, const XML_Char*) {
  XmlReader::State::Of(data).Stop("entity declarations are refused");
}

int XMLCALL OnExternalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*) {
  return XML_STATUS_ERROR;
}

}  // namespace

XmlReader::XmlReader(XmlHandler& handler, std::string fileName, std::string partName)
    : state_(std::make_unique<State>()) {
  state_->handler = &handler;
  state_->fileName = std::move(fileName);
  state_->partName = std::move(partName);
  state_->parser = XML_ParserCreate("UTF-8");
  if (!state_->parser) throw EOleException(state_->fileName, "out of memory for the XML parser");
  XML_Parser parser = state_->parser;
  XML_SetUserData(parser, state_.get());
  XML_SetElementHandler(parser, OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser, OnText);
  XML_SetEntityDeclHandler(parser, OnEntityDeclaration);
  XML_SetExternalEntityRefHandler(parser, OnExternalEntity);
  XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlReader::~XmlReader() = default;

void XmlReader::Feed(std::string_view bytes, bool last) {
  XML_Parser parser = state_->parser;
  const char* data = bytes.data();
  size_t left = bytes.size();
  // expat takes int lengths: hand over pieces of at most 1 GiB.
  do {
    const size_t piece = std::min<size_t>(left, 1u << 30);
    left -= piece;
    if (XML_Parse(parser, data, static_cast<int>(piece), last && left == 0) != XML_STATUS_OK) {
      std::string reason =
          state_->abortReason.empty() ? XML_ErrorString(XML_GetErrorCode(parser)) : state_->abortReason;
      throw EOleException(state_->fileName, state_->partName + ", line " +
                                                IntToStr(static_cast<int64_t>(XML_GetCurrentLineNumber(parser))) +
                                                ": " + reason);
    }
    data += piece;
  } while (left > 0);
}

uint64_t XmlReader::EventOffset() const { return static_cast<uint64_t>(XML_GetCurrentByteIndex(state_->parser)); }
int XmlReader::EventLength() const { return XML_GetCurrentByteCount(state_->parser); }
void XmlReader::Abort(std::string reason) { state_->Stop(std::move(reason)); }

void ParseXml(std::string_view xml, XmlHandler& handler, const std::string& fileName, const std::string& partName) {
  XmlReader reader(handler, fileName, partName);
  reader.Feed(xml, true);
}

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0.
size_t SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  size_t length;
  uint32_t code, minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07;
    minimum = 0x10000;
  } else
    return 0;
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = SequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string ValidUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size();) {
    const size_t n = SequenceLength(text, i);
    if (n == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

XmlWriter::XmlWriter() { out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"; }

void XmlWriter::EndStartTag() {
  if (inStartTag_) {
    out_ += '>';
    inStartTag_ = false;
  }
}

void XmlWriter::Open(std::string_view name) {
  EndStartTag();
  out_ += '<';
  out_ += name;
  open_.emplace_back(name);
  inStartTag_ = true;
}

void XmlWriter::Attribute(std::string_view name, std::string_view value) {
  out_ += ' ';
  out_ += name;
  out_ += "=\"";
  AppendEscaped(out_, value, true);
  out_ += '"';
}

void XmlWriter::Text(std::string_view text) {
  EndStartTag();
  AppendEscaped(out_, text, false);
}

void XmlWriter::Raw(std::string_view bytes) {
  EndStartTag();
  out_ += bytes;
}

void XmlWriter::Close() {
  if (inStartTag_) {
    out_ += "/>";
    inStartTag_ = false;
  } else {
    out_ += "</";
    out_ += open_.back();
    out_ += '>';
  }
  open_.pop_back();
}

void XmlWriter::Empty(std::string_view name,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> attributes) {
  Open(name);
  for (const auto& [key, value] : attributes) Attribute(key, value);
  Close();
}

void AppendEscaped(std::string& out_, std::string_view text, bool inAttribute) {
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      const size_t n = SequenceLength(text, i);
      // U+FFFE and U+FFFF are no XML characters either.
      if (n == 0 || (n == 3 && u == 0xEF && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                     static_cast<unsigned char>(text[i + 2]) >= 0xBE)) {
        out_ += kReplacement;
        i += n == 0 ? 1 : n;
      } else {
        out_.append(text.substr(i, n));
        i += n;
      }
      continue;
    }
    ++i;
    switch (c) {
      case '&':
        out_ += "&amp;";
        break;
      case '<':
        out_ += "&lt;";
        break;
      case '>':
        out_ += "&gt;";
        break;
      case '"':
        out_ += inAttribute ? "&quot;" : "\"";
        break;
      case '\n':
        out_ += inAttribute ? "&#10;" : "\n";
        break;
      case '\r':
        out_ += "&#13;";
        break;
      case '\t':
        out_ += inAttribute ? "&#9;" : "\t";
        break;
      default:
        if (u < 0x20)
          out_ += kReplacement;
        else
          out_ += c;
    }
  }
}

}  // namespace platform
