#include "OvDataCommands.h"

#include "OvDataJson.h"
#include "files/Files.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <cstdio>
#include <memory>

namespace mqtool {

namespace {

// Far more than any model's JSON (a full file dumps to well under 1 MiB).
constexpr std::size_t kMaxJsonSize = 16u << 20;

int usage(const char* line) {
    std::fprintf(stderr, "usage: mapquill-tool %s\n(see mapquill-tool --help)\n", line);
    return kExitUsage;
}

int refuse(const std::string& message) {
    std::fprintf(stderr, "mapquill-tool: %s\n", message.c_str());
    return kExitBadInput;
}

files::ReadResult readInput(const std::string& path, std::uint64_t limit) {
    files::ReadResult read = files::readFile(path, limit, files::BeyondLimit::KeepPrefix);
    if (!read.ok())
        read.message = "sorry, file failed to open: " + read.message;
    return read;
}

int writeOutput(const std::string& path, std::string_view bytes) {
    const files::WriteResult written = files::writeFile(path, bytes);
    return written.ok() ? kExitSuccess : refuse("sorry, file could not be written: " + written.message);
}

// Only the first kMaxFileSize bytes of a file can ever hold records; the rest is ignored by
// the format anyway, so nothing beyond it is read into memory.
std::unique_ptr<ov::OvDataModel> loadOvData(const std::string& path, std::string& message) {
    const files::ReadResult file = readInput(path, ov::OvDataLayout::kMaxFileSize);
    if (!file.ok()) {
        message = file.message;
        return nullptr;
    }
    ov::OvDataReadResult read = ov::ReadFromOvDataFile(file.bytes);
    if (!read.ok()) {
        message = path + ": " + read.message;
        return nullptr;
    }
    if (read.trailingBytes != 0 || file.truncated)
        std::fprintf(stderr, "mapquill-tool: note: %s has bytes after its last record; they are ignored.\n",
                     path.c_str());
    return std::move(read.model);
}

} // namespace

int runDumpCommand(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return usage("dump OVDATA");
    std::string message;
    const std::unique_ptr<ov::OvDataModel> model = loadOvData(args[0], message);
    if (!model)
        return refuse(message);
    const std::string text = OvDataToJsonText(*model);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        return refuse("sorry, the JSON could not be written to standard output");
    return kExitSuccess;
}

int runBuildCommand(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usage("build JSON OVDATA");
    const files::ReadResult json = readInput(args[0], kMaxJsonSize);
    if (!json.ok())
        return refuse(json.message);
    if (json.truncated)
        return refuse("sorry, '" + args[0] + "' is larger than " + std::to_string(kMaxJsonSize >> 20) +
                      " MiB; no model is that large");
    JsonModelResult parsed = OvDataFromJsonText(
        std::string_view(reinterpret_cast<const char*>(json.bytes.data()), json.bytes.size()));
    for (const std::string& warning : parsed.warnings)
        std::fprintf(stderr, "mapquill-tool: warning: %s: %s\n", args[0].c_str(), warning.c_str());
    if (!parsed.ok())
        return refuse(args[0] + ": " + parsed.message);
    ov::OvDataWriteResult written = ov::WriteToOvDataFile(*parsed.model);
    if (!written.ok())
        return refuse(written.message);
    return writeOutput(
        args[1], std::string_view(reinterpret_cast<const char*>(written.bytes.data()), written.bytes.size()));
}

int runBatnamesCommand(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usage("batnames OVDATA OUT");
    std::string message;
    const std::unique_ptr<ov::OvDataModel> model = loadOvData(args[0], message);
    if (!model)
        return refuse(message);
    return writeOutput(args[1], ov::ExportAsBatnamesFile(*model));
}

const char* ovDataCommandsHelp() {
    return "  dump OVDATA\n"
           "      Print the OvData file OVDATA as JSON on standard output.\n"
           "  build JSON OVDATA\n"
           "      Write the OvData file OVDATA from the JSON file JSON (the form that dump prints).\n"
           "      JSON that an OvData file cannot hold is refused and nothing is written: more than\n"
           "      11 sectors, ops per sector or battles per op; IDs outside the 32-bit range;\n"
           "      coordinates outside -32768..32767; flags outside 0..255; names longer than 50\n"
           "      characters, with characters outside ISO-8859-1 or with U+0000; missing, unknown or\n"
           "      mistyped fields. A name of 50 characters (as a file can hold) keeps its first 49,\n"
           "      with a warning. An existing OVDATA is replaced only once the new file is complete.\n"
           "  batnames OVDATA OUT\n"
           "      Write the suggested 'Batnames' text file of the game for OVDATA (meant for OvData0)\n"
           "      to OUT: carriage-return line ends, names copied byte for byte.\n"
           "\n"
           "  JSON form:\n"
           "      {\"resource_id\": 1018, \"sectors\": [{\"id\": 4, \"name\": \"<new sector 4>\",\n"
           "        \"rect\": [0, 0, 0, 0], \"ops\": [{\"id\": 40, \"name\": \"...\", \"rect\": [x1, y1, x2, "
           "y2],\n"
           "        \"battles\": [{\"id\": 400, \"name\": \"...\", \"rect\": [x1, y1, x2, y2],\n"
           "        \"flags\": [lz, bridge, road]}]}]}]}\n"
           "      Names are text (ISO-8859-1 in the file); flags are the raw byte values, 0 = off.\n";
}

} // namespace mqtool
