#include "OvDataCommands.h"

#include "CommandLine.h"
#include "OvDataJson.h"
#include "StandardStreams.h"
#include "ovdata/BatnamesExport.h"
#include "ovdata/OvDataFile.h"

#include <cstdio>
#include <memory>

namespace mqtool {

namespace {

// Far more than any model's JSON (a full file dumps to well under 1 MiB).
constexpr std::size_t kMaxJsonSize = 16u << 20;

constexpr const char* kDumpUsage = "dump OVDATA";
constexpr const char* kBuildUsage = "build JSON OVDATA";
constexpr const char* kBatnamesUsage = "batnames OVDATA OUT";

// The operands of a command that takes exactly `count` files and no options.
std::vector<std::string> filesOf(const std::vector<std::string>& args, std::size_t count,
                                 const char* usageLine, int& exitCode) {
    const CommandLine line = splitCommandLine(args);
    if (!line.ok())
        exitCode = usageError(usageLine, line.problem);
    else if (line.operands.size() != count)
        exitCode = usageError(usageLine);
    else
        return line.operands;
    return {};
}

} // namespace

// Only the first kMaxFileSize bytes of a file can ever hold records; the rest is ignored by
// the format anyway, so nothing beyond it is read into memory.
std::unique_ptr<ov::OvDataModel> loadOvData(const std::string& path, std::string& message) {
    const InputBytes file = readInput(path, ov::OvDataLayout::kMaxFileSize);
    if (!file.ok()) {
        message = file.error;
        return nullptr;
    }
    ov::OvDataReadResult read = ov::ReadFromOvDataFile(file.bytes);
    if (!read.ok()) {
        message = inputName(path) + ": " + read.message;
        return nullptr;
    }
    if (read.trailingBytes != 0 || file.truncated)
        std::fprintf(stderr, "mapquill-tool: note: %s has bytes after its last record; they are ignored.\n",
                     inputName(path).c_str());
    return std::move(read.model);
}

int runDumpCommand(const std::vector<std::string>& args) {
    int exitCode = kExitSuccess;
    const std::vector<std::string> files = filesOf(args, 1, kDumpUsage, exitCode);
    if (files.empty())
        return exitCode;
    std::string message;
    const std::unique_ptr<ov::OvDataModel> model = loadOvData(files[0], message);
    if (!model)
        return inputError(inputName(files[0]), message);
    const std::string text = OvDataToJsonText(*model);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        return inputError("standard output", "sorry, the JSON could not be written to standard output");
    return kExitSuccess;
}

int runBuildCommand(const std::vector<std::string>& args) {
    int exitCode = kExitSuccess;
    const std::vector<std::string> files = filesOf(args, 2, kBuildUsage, exitCode);
    if (files.empty())
        return exitCode;
    const std::string source = inputName(files[0]);
    const InputBytes json = readInput(files[0], kMaxJsonSize);
    if (!json.ok())
        return inputError(source, json.error);
    if (json.truncated)
        return inputError(source, "sorry, '" + source + "' is larger than " +
                                      std::to_string(kMaxJsonSize >> 20) + " MiB; no model is that large");
    JsonModelResult parsed = OvDataFromJsonText(
        std::string_view(reinterpret_cast<const char*>(json.bytes.data()), json.bytes.size()));
    for (const std::string& warning : parsed.warnings)
        std::fprintf(stderr, "mapquill-tool: warning: %s: %s\n", source.c_str(), warning.c_str());
    if (!parsed.ok())
        return inputError(source, source + ": " + parsed.message);
    ov::OvDataWriteResult written = ov::WriteToOvDataFile(*parsed.model);
    if (!written.ok())
        return inputError(outputName(files[1]), written.message);
    const std::string_view bytes(reinterpret_cast<const char*>(written.bytes.data()), written.bytes.size());
    if (std::string error = writeOutput(files[1], bytes); !error.empty())
        return inputError(outputName(files[1]), error);
    return kExitSuccess;
}

int runBatnamesCommand(const std::vector<std::string>& args) {
    int exitCode = kExitSuccess;
    const std::vector<std::string> files = filesOf(args, 2, kBatnamesUsage, exitCode);
    if (files.empty())
        return exitCode;
    std::string message;
    const std::unique_ptr<ov::OvDataModel> model = loadOvData(files[0], message);
    if (!model)
        return inputError(inputName(files[0]), message);
    if (std::string error = writeOutput(files[1], ov::ExportAsBatnamesFile(*model)); !error.empty())
        return inputError(outputName(files[1]), error);
    return kExitSuccess;
}

const char* const kDumpHelp =
    "  dump OVDATA\n"
    "      Print the OvData file OVDATA as JSON on standard output, in the form that\n"
    "      'mapquill-tool help build' shows. OVDATA may be - for standard input.\n";

const char* const kBuildHelp =
    "  build JSON OVDATA\n"
    "      Write the OvData file OVDATA from the JSON file JSON (the form that dump prints).\n"
    "      JSON that an OvData file cannot hold is refused and nothing is written: more than\n"
    "      11 sectors, ops per sector or battles per op; IDs outside the 32-bit range;\n"
    "      coordinates outside -32768..32767; flags outside 0..255; names longer than 49\n"
    "      characters, with characters outside ISO-8859-1 or with U+0000; missing, unknown or\n"
    "      mistyped fields. An existing OVDATA is replaced only once the new file is complete.\n"
    "      JSON may be - for standard input, OVDATA - for standard output.\n"
    "\n"
    "      JSON form:\n"
    "      {\"resource_id\": 1018, \"sectors\": [{\"id\": 4, \"name\": \"<new sector 4>\",\n"
    "        \"rect\": [0, 0, 0, 0], \"ops\": [{\"id\": 40, \"name\": \"...\", \"rect\": [x1, y1, x2, y2],\n"
    "        \"battles\": [{\"id\": 400, \"name\": \"...\", \"rect\": [x1, y1, x2, y2],\n"
    "        \"flags\": [lz, bridge, road]}]}]}]}\n"
    "      Names are text (ISO-8859-1 in the file); flags are the raw byte values, 0 = off.\n";

const char* const kBatnamesHelp =
    "  batnames OVDATA OUT\n"
    "      Write the suggested 'Batnames' text file of the game for OVDATA (meant for OvData0)\n"
    "      to OUT: carriage-return line ends, names copied byte for byte. OVDATA may be - for\n"
    "      standard input, OUT - for standard output.\n";

} // namespace mqtool
