#include "sequencer/DataCheck.h"

#include "programs/CombinerProgram.h"
#include "programs/ConstantProgram.h"
#include "programs/ProgramText.h"
#include "programs/TextureShaderProgram.h"
#include "programs/VertexProgramParser.h"
#include "programs/VertexShaderTranslator.h"
#include "resources/DataFile.h"
#include "resources/File3DS.h"
#include "resources/ImageDecoding.h"
#include "swf/swfMovie.h"
#include "swf/swfReader.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

std::string extensionOf(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

const uint8_t* bytesOf(const FileBytes& file) { return reinterpret_cast<const uint8_t*>(file.data.get()); }

// Settings: blank lines, "#" comments and "key = value" lines only.
bool checkSettings(std::string_view text, std::string& message)
{
    int lineNumber = 0;
    for (size_t at = 0; at <= text.size();) {
        size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        ++lineNumber;
        at = end + 1;
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == 0 || equals == std::string_view::npos || std::isspace(static_cast<unsigned char>(line[0]))) {
            message = "line " + std::to_string(lineNumber) + " is not \"key = value\": " + std::string(line);
            return false;
        }
    }
    return true;
}

bool checkXml(const FileBytes& file, std::string& message)
{
    XML_Parser parser = XML_ParserCreate(nullptr);
    const bool ok = XML_Parse(parser, file.data.get(), file.size, 1) == XML_STATUS_OK;
    if (!ok)
        message = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
                  std::to_string(XML_GetCurrentLineNumber(parser));
    XML_ParserFree(parser);
    return ok;
}

bool checkSwf(const FileBytes& file, std::string& message)
{
    swfMovie movie;
    const swfReader reader(movie, bytesOf(file), static_cast<size_t>(file.size));
    if (reader.result() == 0)
        message = "not an uncompressed SWF movie the show reads";
    else if (reader.damaged())
        message = "the movie is damaged (a tag runs past its end, or a timeline has no End tag)";
    return reader.result() != 0 && !reader.damaged();
}

bool checkPicture(const FileBytes& file, bool png, std::string& message)
{
    resources::DecodedImage image;
    const bool ok = png ? resources::decodePng(bytesOf(file), static_cast<size_t>(file.size), 0, image)
                        : resources::decodeJpeg(bytesOf(file), static_cast<size_t>(file.size), image);
    if (!ok)
        message = png ? "not a PNG picture that decodes" : "not a JPEG picture that decodes";
    return ok;
}

std::string joined(const std::vector<std::string>& messages)
{
    std::ostringstream text;
    for (size_t i = 0; i < messages.size(); ++i)
        text << (i ? "; " : "") << messages[i];
    return text.str();
}

// The compiler of the text's language, without touching any GL state.
bool checkProgramText(const char* text, std::string& message)
{
    const std::string_view view(text);
    const auto after = [&](const char* header) { return view.find(header) + std::string_view(header).size(); };
    bool ok = false;
    std::vector<std::string> messages;
    switch (programs::programTextKind(text)) {
    case programs::ProgramTextKind::ConstantProgram: {
        auto result = programs::compileConstantProgram(view);
        ok = result.ok, messages = result.messages;
        break;
    }
    case programs::ProgramTextKind::StateProgram:
    case programs::ProgramTextKind::VertexProgram: {
        auto result = programs::parseVertexProgram(view);
        ok = result.ok, messages = {result.message + " (at byte " + std::to_string(result.errorPosition) + ")"};
        break;
    }
    case programs::ProgramTextKind::RegisterCombiners: {
        auto result = programs::compileRegisterCombiners(view, after("!!RC1.0"), 8, true);
        ok = result.ok, messages = result.messages;
        break;
    }
    case programs::ProgramTextKind::TextureShader: {
        auto result = programs::compileTextureShader(view, after("!!TS1.0"));
        ok = result.ok, messages = result.messages;
        break;
    }
    case programs::ProgramTextKind::VertexShader: {
        auto result = programs::translateVertexShader(view, programs::readIncludeFromFolders);
        ok = result.ok, messages = result.messages;
        break;
    }
    default: messages = {"not a program text the show knows (no \"!!VP1.0\", \"!!RC1.0\", ... header)"};
    }
    if (!ok)
        message = joined(messages);
    return ok;
}

} // namespace

bool checkDataFile(const std::string& path, std::string& message)
{
    DataFileProblem problem = DataFileProblem::none;
    const FileBytes file = readDataFile(path.c_str(), problem);
    if (!file) {
        message = problem == DataFileProblem::missing ? "the file is gone" : "the file cannot be read";
        return false;
    }
    const std::string extension = extensionOf(path);
    const std::string_view text(file.data.get(), static_cast<size_t>(file.size));
    if (extension == "cfg")
        return checkSettings(text, message);
    if (extension == "xml" || extension == "xsl" || extension == "script")
        return checkXml(file, message);
    if (extension == "swf")
        return checkSwf(file, message);
    if (extension == "3ds") {
        File3DSPtr scene = load3dsFromMemory(bytesOf(file), static_cast<size_t>(file.size), message);
        return scene != nullptr;
    }
    if (extension == "jpg" || extension == "jpeg" || extension == "png")
        return checkPicture(file, extension == "png", message);
    if (extension == "vp" || extension == "vpc" || extension == "rcp")
        return checkProgramText(file.data.get(), message);
    return true;
}
