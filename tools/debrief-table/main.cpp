// debrief-table: loads a session's measurement text, evaluates it against the
// default guideline and settings, and prints every debriefing row kind as one
// tab-separated line:
//
//   debrief-table --text FILE --rate R --mode M [--percent] [--ratio-decimal]
//
// --percent gives the remarks as percentages, --ratio-decimal the
// compression/relaxation ratio as one decimal number. A text that is not set
// for a row is empty; the marker is printed with 17 significant digits.

#include "Rodezir/gstringUtil.h"
#include "app/debriefing/DebriefEvaluation.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

namespace {

const char USAGE[] = "usage: debrief-table --text FILE --rate R --mode M [--percent] [--ratio-decimal]\n";

struct Options {
    std::string textFile;
    double rate = 0.0;
    int mode = -1;
    bool percent = false;
    bool ratioDecimal = false;
};

std::optional<double> parseDouble(const char* text)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0)
        return std::nullopt;
    return value;
}

std::optional<Options> parseOptions(int argc, char** argv)
{
    Options options;
    bool haveRate = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--percent") {
            options.percent = true;
        } else if (arg == "--ratio-decimal") {
            options.ratioDecimal = true;
        } else if (arg == "--text" && hasValue) {
            options.textFile = argv[++i];
        } else if (arg == "--rate" && hasValue) {
            const auto rate = parseDouble(argv[++i]);
            if (!rate)
                return std::nullopt;
            options.rate = *rate;
            haveRate = true;
        } else if (arg == "--mode" && hasValue) {
            const std::string mode = argv[++i];
            if (mode.size() != 1 || mode[0] < '0' || mode[0] > '3')
                return std::nullopt;
            options.mode = mode[0] - '0';
        } else {
            return std::nullopt;
        }
    }
    if (options.textFile.empty() || !haveRate || options.mode < 0)
        return std::nullopt;
    return options;
}

std::string narrow(const std::wstring& text) { return toNarrow(text, CP_UTF8); }

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::cerr << USAGE;
        return 2;
    }

    std::ifstream file(options->textFile, std::ios::binary);
    if (!file) {
        std::cerr << "debrief-table: cannot read " << options->textFile << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();

    const AlgorithmRecord algorithm;
    CommSession session;
    session.setAlgorithm(&algorithm);
    session.trainingMode = options->mode;
    if (!session.loadText(bytes.str(), options->rate)) {
        std::cerr << "debrief-table: " << options->textFile << " holds no measurement text that loads at rate "
                  << narrow(doubleToWide(options->rate, "%g")) << "\n";
        return 1;
    }
    session.evaluate();

    PropertyModel settings;
    settings.debriefingAsCounts = !options->percent;
    settings.ratioAsPercent = !options->ratioDecimal;
    const DebriefEvaluation evaluation = DebriefEvaluation::of(session, settings);

    std::string out = "kind\tlabel\tshown\tmarker\ttotal\taverage\trecommended\tremark\n";
    for (int kind = 0; kind < DebriefEvaluation::ROW_KINDS; ++kind) {
        std::wstring total, average, remark;
        evaluation.evaluateRow(kind, total, average, remark);
        // The ratio has no recommendation outside the two CPR modes; asking
        // for one would only leave a line in the error log.
        const bool hasRatio = options->mode == 0 || options->mode == 1;
        const std::wstring recommended =
            kind == DebriefEvaluation::COMPRESSION_VENTILATION_RATIO && !hasRatio ? std::wstring()
                                                                                  : evaluation.recommendedText(kind);
        out += std::to_string(kind) + '\t' + narrow(DebriefEvaluation::rowLabel(kind)) + '\t' +
               (DebriefEvaluation::isRowShown(kind, options->mode, settings) ? '1' : '0') + '\t' +
               narrow(doubleToWide(evaluation.marker(kind), "%.17g")) + '\t' + narrow(total) + '\t' + narrow(average) +
               '\t' + narrow(recommended) + '\t' + narrow(remark) + '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
