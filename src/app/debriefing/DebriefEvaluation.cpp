#include "app/debriefing/DebriefEvaluation.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "comm/session/CommSession.h"
#include "config/AlgorithmRecord.h"
#include "config/PropertyModel.h"
#include "gettext/Gettext.h"

#include <climits>
#include <cmath>
#include <initializer_list>

namespace {

// The whole number part, toward zero. A value beyond an int (an imported
// algorithm, a broken figure) stops at the int's end instead of wrapping, and
// a figure that is no number counts as 0.
int whole(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (x <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(x);
}

int nearest(double x) { return whole(x + 0.5); }

// part * 100 / whole, and 0 when there is no whole to share.
double share(double part, double wholeCount) { return wholeCount == 0.0 ? 0.0 : part * 100.0 / wholeCount; }

std::wstring tr(const char* text) { return Gettext::translate(text); }

std::wstring number(int n) { return intToWide(n); }

std::wstring withUnit(const std::wstring& value, const char* unit)
{
    return value + static_cast<wchar_t>(DebriefEvaluation::unitSeparator()) + tr(unit);
}

const wchar_t RANGE_SEPARATOR[] = L" - ";
const wchar_t PART_SEPARATOR[] = L" / ";

// One part of a breakdown remark: a count, or the share it has of its whole,
// then a word. Parts after the first appear only when `shown`.
struct Part {
    int count;
    double share;
    const char* word;
    bool shown;
};

Part part(int count, double shareOfWhole, const char* word) { return {count, shareOfWhole, word, count > 0}; }

// The remark of a counted quantity, as counts or as percentages. With
// `spacedFurther` the parts after the first stand one blank further apart.
std::wstring breakdown(bool asCounts, std::initializer_list<Part> parts, bool spacedFurther = false)
{
    std::wstring text;
    bool first = true;
    for (const Part& p : parts) {
        if (!first && !p.shown)
            continue;
        if (!first) {
            text += PART_SEPARATOR;
            if (spacedFurther)
                text += L' ';
        }
        const std::wstring figure = asCounts ? number(p.count) : DebriefEvaluation::percentText(nearest(p.share));
        text += withUnit(figure, p.word);
        first = false;
    }
    return text;
}

// The bar of a quantity judged against lo .. hi: a third of the width below
// the range is twice what lies above it.
DebriefBar rangeBar(double lo, double hi)
{
    const double d = hi - lo;
    DebriefBar bar;
    bar.areaLow = lo - 4.0 / 3.0 * d;
    bar.areaHigh = hi + 2.0 / 3.0 * d;
    bar.rangeLow = lo;
    bar.rangeHigh = hi;
    bar.scaleLeftTip = true;
    bar.scaleRightTip = true;
    return bar;
}

// A share whose ideal is none: 0 at the green tip, room for 15 %.
DebriefBar noneIsBestBar()
{
    DebriefBar bar;
    bar.areaLow = -12.0;
    bar.areaHigh = 15.0;
    bar.rangeLeftTip = true;
    return bar;
}

// The compression share of the compression/relaxation cycle in whole percent,
// and the relaxation share; both 0 for a measurement that cannot be right.
struct RelaxShares {
    int c;
    int r;
};

RelaxShares relaxShares(double ratio)
{
    const int c = whole(ratio * 100.0);
    if (c > 100 || c < 0)
        return {0, 0};
    return {c, 100 - c};
}

// The rate judgements of the compression groups under the measurement
// store's names.
struct GroupRates {
    const CompressionResults& c;
    int getCompFreqOK() const { return c.rateOK; }
    int getCompFreqLow() const { return c.rateLow; }
    int getCompFreqHigh() const { return c.rateHigh; }
    int getNrCompGroups() const { return c.seriesCount; }
};

} // namespace

DebriefEvaluation::DebriefEvaluation(const DebriefFigures& figures, const AlgorithmRecord& algorithm, int trainingMode,
                                     const PropertyModel& settings)
    : algorithm_(algorithm), settings_(settings), figures_(figures), trainingMode_(trainingMode)
{
}

DebriefEvaluation DebriefEvaluation::of(const CommSession& session, const PropertyModel& settings)
{
    static const AlgorithmRecord defaultGuideline;
    return DebriefEvaluation(DebriefFigures::of(session), session.algor ? *session.algor : defaultGuideline,
                             session.trainingMode, settings);
}

std::wstring DebriefEvaluation::percentText(int percent) { return number(percent) + L"%"; }

std::wstring DebriefEvaluation::rowLabel(int kind)
{
    static const char* const LABELS[ROW_KINDS] = {
        "Ventilation minute volume", "Cardiac output volume", "Initial ventilations", "Ventilation rate",
        "Ventilation volume",        "Stomach inflation",     "ECC Rate",             "Comp./Relax. ratio",
        "Compression depth",         "Pause between ECC-ECC", "Wrong hand position",  "Leaning",
        "Compr./Vent. ratio",
    };
    if (kind < 0 || kind >= ROW_KINDS)
        return {};
    return tr(LABELS[kind]);
}

std::wstring DebriefEvaluation::recommendedText(int kind) const
{
    const AlgorithmRecord& a = algorithm_;
    const auto wholeRange = [](double lo, double hi, const char* unit) {
        return withUnit(number(whole(lo)) + RANGE_SEPARATOR + number(whole(hi)), unit);
    };
    const auto ratio = [](double comp, double vent) { return number(whole(comp)) + L" : " + number(whole(vent)); };

    switch (kind) {
    case MINUTE_VOLUME:
        return withUnit(doubleToWide(settings_.minuteVolumeLow, "%g") + RANGE_SEPARATOR +
                            doubleToWide(settings_.minuteVolumeHigh, "%g"),
                        "L/min");
    case CARDIAC_OUTPUT:
        return withUnit(doubleToWide(settings_.cardiacOutputLow, "%.1f") + RANGE_SEPARATOR +
                            doubleToWide(settings_.cardiacOutputHigh, "%.1f"),
                        "L/min");
    case INITIAL_VENTILATIONS:
        return number(a.initVent);
    case VENTILATION_RATE:
        return wholeRange(a.vRateLow, a.vRateHigh, "/min");
    case VENTILATION_VOLUME:
        return withUnit(doubleToWide(a.vVolLow, "%.1f") + RANGE_SEPARATOR + doubleToWide(a.vVolHigh, "%.1f"), "L");
    case STOMACH_INFLATION:
    case WRONG_HAND_POSITION:
    case LEANING:
        return percentText(0);
    case COMPRESSION_RATE:
        return wholeRange(a.eccRateLow, a.eccRateHigh, "/min");
    case COMPRESSION_RELAXATION: {
        const double p = a.compRelaxRecc;
        if (settings_.ratioAsPercent)
            return percentText(whole(p)) + L" / " + percentText(whole(100.0 - p));
        return p == 100.0 ? std::wstring(L"0.0") : doubleToWide(p / (100.0 - p), "%.1f");
    }
    case COMPRESSION_DEPTH:
        return wholeRange(a.compDepthLow, a.compDepthHigh, "mm");
    case PAUSE:
        return withUnit(L"< " + number(settings_.maxPauseBetweenCompressions), "s");
    case COMPRESSION_VENTILATION_RATIO:
        if (trainingMode_ == 0)
            return ratio(a.ventCompRatioSingleComp, a.ventCompRatioSingleVent);
        if (trainingMode_ == 1)
            return ratio(a.ventCompRatioDoubleComp, a.ventCompRatioDoubleVent);
        KOVA_ASSERT(false);
        return {};
    default:
        return {};
    }
}

void DebriefEvaluation::evaluateRow(int kind, std::wstring& total, std::wstring& average,
                                    std::wstring& evaluation) const
{
    const SessionResults& r = figures_.results;
    const VentilationResults& v = r.ventilation;
    const CompressionResults& c = r.compression;
    const CycleResults& cycles = r.cycles;
    const AlgorithmRecord& a = algorithm_;
    const bool asCounts = settings_.debriefingAsCounts;

    switch (kind) {
    case MINUTE_VOLUME:
        average = withUnit(doubleToWide(figures_.minuteVolume, "%0.1f"), "L/min");
        if (v.count > 0) {
            if (figures_.minuteVolume < settings_.minuteVolumeLow)
                evaluation = tr("Too low");
            else if (figures_.minuteVolume > settings_.minuteVolumeHigh)
                evaluation = tr("Too high");
        }
        return;
    case CARDIAC_OUTPUT: {
        // Not measured, as the pause without two groups: no average, no remark.
        if (!c.cardiacOutputMeasured())
            return;
        average = withUnit(doubleToWide(c.averageCardiacOutput, "%0.1f"), "L/min");
        if (c.count <= 0)
            return;
        // Compressions in no evaluated group leave nothing to share: 0 %.
        const double groups = static_cast<double>(c.cardiacOutputOK) + c.cardiacOutputLow + c.cardiacOutputHigh;
        if (asCounts)
            evaluation = breakdown(true, {part(c.cardiacOutputOK, 0, "OK groups"), part(c.cardiacOutputLow, 0, "low"),
                                          part(c.cardiacOutputHigh, 0, "high")});
        else
            evaluation = breakdown(false, {part(c.cardiacOutputOK, share(c.cardiacOutputOK, groups), "OK"),
                                           part(c.cardiacOutputLow, share(c.cardiacOutputLow, groups), "low"),
                                           part(c.cardiacOutputHigh, share(c.cardiacOutputHigh, groups), "high")});
        return;
    }
    case INITIAL_VENTILATIONS:
        total = number(r.initialVentilations);
        if (r.initialVentilations != a.initVent)
            evaluation = withUnit(number(r.initialVentilations), "Performed");
        return;
    case VENTILATION_RATE:
        average = withUnit(number(nearest(v.rate)), "/min");
        if (v.count > 0) {
            if (v.rate < a.vRateLow)
                evaluation = tr("Too slow");
            else if (v.rate > a.vRateHigh)
                evaluation = tr("Too fast");
        }
        return;
    case VENTILATION_VOLUME: {
        total = number(v.count);
        average = withUnit(doubleToWide(v.averageVolume, "%0.1f"), "L");
        if (v.count <= 0)
            return;
        const double n = v.count;
        evaluation = breakdown(asCounts, {part(v.count - v.volumeLow - v.volumeHigh,
                                               100.0 - share(static_cast<double>(v.volumeLow) + v.volumeHigh, n), "OK"),
                                          part(v.volumeLow, share(v.volumeLow, n), "low"),
                                          part(v.volumeHigh, share(v.volumeHigh, n), "high")});
        return;
    }
    case STOMACH_INFLATION: {
        total = number(v.stomachInflations);
        if (v.count <= 0)
            return;
        const double s = share(v.stomachInflations, v.count);
        evaluation = breakdown(asCounts,
                               {part(v.count - v.stomachInflations, 100.0 - s, "OK"), part(v.stomachInflations, s, "wrong")},
                               !asCounts);
        return;
    }
    case COMPRESSION_RATE: {
        average = withUnit(number(nearest(c.averageRate)), "/min");
        if (c.seriesCount <= 0)
            return;
        if (asCounts) {
            evaluation = breakdown(true, {part(c.rateOK, 0, "OK groups"), part(c.rateLow, 0, "low"),
                                          part(c.rateHigh, 0, "high")});
            return;
        }
        // The groups judged by rate must be all the groups, or the shares
        // below do not add up; the log line names the measurement store's figures.
        const GroupRates cSes{c};
        KOVA_ASSERT(cSes.getCompFreqOK() + cSes.getCompFreqLow() + cSes.getCompFreqHigh() == cSes.getNrCompGroups());
        const double groups = c.seriesCount;
        evaluation = breakdown(false, {part(c.rateOK, share(c.rateOK, groups), "OK groups"),
                                       part(c.rateLow, share(c.rateLow, groups), "low"),
                                       part(c.rateHigh, share(c.rateHigh, groups), "high")});
        return;
    }
    case COMPRESSION_RELAXATION: {
        // Without a complete cycle there is no ratio, not a ratio of 0.
        if (!c.compRelaxMeasured())
            return;
        const RelaxShares s = relaxShares(c.compRelaxRatio);
        if (settings_.ratioAsPercent)
            average = percentText(s.c) + L" / " + percentText(s.r);
        else
            average = s.r != 0 ? doubleToWide(static_cast<double>(s.c) / s.r, "%.1f") : std::wstring(L"0.0");
        if (c.count > 0 && (s.c < a.compRelaxLow || s.c > a.compRelaxHigh))
            evaluation = tr("Not OK");
        return;
    }
    case COMPRESSION_DEPTH: {
        total = number(c.count);
        average = withUnit(number(nearest(c.averageDepth)), "mm");
        if (c.count <= 0)
            return;
        const double n = c.count;
        evaluation = breakdown(asCounts, {part(c.count - c.depthLow - c.depthHigh,
                                               100.0 - share(static_cast<double>(c.depthLow) + c.depthHigh, n), "OK"),
                                          part(c.depthLow, share(c.depthLow, n), "superficial"),
                                          part(c.depthHigh, share(c.depthHigh, n), "deep")});
        return;
    }
    case PAUSE: {
        total = number(c.seriesCount >= 1 ? c.seriesCount - 1 : 0);
        if (c.seriesCount < 2)
            return;
        average = withUnit(number(nearest(c.averagePause)), "s");
        const double pauses = c.seriesCount - 1;
        evaluation = breakdown(asCounts, {part(c.pauseOK, share(c.pauseOK, pauses), "OK"),
                                          part(c.pauseLong, share(c.pauseLong, pauses), "long")});
        return;
    }
    case WRONG_HAND_POSITION:
    case LEANING: {
        const int wrong = kind == WRONG_HAND_POSITION ? c.wrongHandPositions : c.leanings;
        total = number(wrong);
        if (c.count <= 0)
            return;
        const double w = share(wrong, c.count);
        evaluation = breakdown(asCounts, {part(c.count - wrong, 100.0 - w, "OK"), part(wrong, w, "wrong")});
        return;
    }
    case COMPRESSION_VENTILATION_RATIO: {
        total = number(cycles.count);
        if (cycles.count < 1)
            return;
        average = number(nearest(cycles.averageCompressions)) + L" : " + number(nearest(cycles.averageVentilations));
        const double ok = share(cycles.correct, cycles.count);
        evaluation = breakdown(asCounts, {part(cycles.correct, ok, "OK"),
                                          {cycles.count - cycles.correct, 100.0 - ok, "wrong", cycles.correct != cycles.count}});
        return;
    }
    default:
        KOVA_ASSERT(false);
        return;
    }
}

double DebriefEvaluation::marker(int kind) const
{
    const SessionResults& r = figures_.results;
    const CompressionResults& c = r.compression;
    switch (kind) {
    case MINUTE_VOLUME:
        return figures_.minuteVolume;
    case CARDIAC_OUTPUT:
        return c.averageCardiacOutput;
    case INITIAL_VENTILATIONS:
        return r.initialVentilations;
    case VENTILATION_RATE:
        return nearest(r.ventilation.rate);
    case VENTILATION_VOLUME:
        return figures_.volumeAverage;
    case STOMACH_INFLATION:
        return share(r.ventilation.stomachInflations, r.ventilation.count);
    case COMPRESSION_RATE:
        return nearest(c.averageRate);
    case COMPRESSION_RELAXATION:
        return relaxShares(c.compRelaxRatio).c;
    case COMPRESSION_DEPTH:
        return nearest(c.averageDepth);
    case PAUSE:
        return nearest(c.averagePause);
    case WRONG_HAND_POSITION:
        return share(c.wrongHandPositions, c.count);
    case LEANING:
        return share(c.leanings, c.count);
    case COMPRESSION_VENTILATION_RATIO:
        return r.cycles.averageVentilations == 0.0 ? 0.0
                                                   : r.cycles.averageCompressions / r.cycles.averageVentilations;
    default:
        return 0.0;
    }
}

DebriefBar DebriefEvaluation::bar(int kind) const
{
    const AlgorithmRecord& a = algorithm_;
    switch (kind) {
    case MINUTE_VOLUME:
        return rangeBar(settings_.minuteVolumeLow, settings_.minuteVolumeHigh);
    case CARDIAC_OUTPUT:
        return rangeBar(settings_.cardiacOutputLow, settings_.cardiacOutputHigh);
    case INITIAL_VENTILATIONS: {
        const int n = a.initVent;
        DebriefBar bar;
        if (n == 0) {
            bar.areaLow = -4.0 / 3.0;
            bar.areaHigh = 5.0 / 3.0;
            bar.rangeLeftTip = true;
        } else {
            bar.areaHigh = 2.25 * n;
            bar.rangeLow = bar.rangeHigh = n;
        }
        return bar;
    }
    case VENTILATION_RATE:
        return rangeBar(a.vRateLow, a.vRateHigh);
    case VENTILATION_VOLUME:
        return rangeBar(a.vVolLow, a.vVolHigh);
    case STOMACH_INFLATION:
    case WRONG_HAND_POSITION:
    case LEANING:
        return noneIsBestBar();
    case COMPRESSION_RATE:
        return rangeBar(a.eccRateLow, a.eccRateHigh);
    case COMPRESSION_RELAXATION:
        return rangeBar(a.compRelaxLow, a.compRelaxHigh);
    case COMPRESSION_DEPTH:
        return rangeBar(a.compDepthLow, a.compDepthHigh);
    case PAUSE: {
        const double p = settings_.maxPauseBetweenCompressions;
        DebriefBar bar;
        bar.areaHigh = p * 9.0 / 7.0;
        bar.rangeHigh = p;
        return bar;
    }
    case COMPRESSION_VENTILATION_RATIO: {
        // An imported algorithm may prescribe no ventilations: its target is 0.
        double range = 0.0;
        if (trainingMode_ == 0)
            range = a.ventCompRatioSingleVent == 0.0 ? 0.0 : a.ventCompRatioSingleComp / a.ventCompRatioSingleVent;
        else if (trainingMode_ == 1)
            range = a.ventCompRatioDoubleVent == 0.0 ? 0.0 : a.ventCompRatioDoubleComp / a.ventCompRatioDoubleVent;
        KOVA_ASSERT(range>=0.0);
        DebriefBar bar;
        bar.areaLow = range - 4.0;
        bar.areaHigh = range + 5.0;
        bar.rangeLow = bar.rangeHigh = range;
        bar.scaleLeftTip = true;
        bar.scaleRightTip = true;
        return bar;
    }
    default:
        return {};
    }
}

bool DebriefEvaluation::isRowShown(int kind, int trainingMode, const PropertyModel& s)
{
    // The setting that shows each kind, and whether the kind needs
    // ventilations (dropped when only compressions are trained) or
    // compressions (dropped when only ventilations are trained).
    struct Row {
        bool PropertyModel::*setting;
        bool needsVentilations;
        bool needsCompressions;
    };
    static const Row ROWS[ROW_KINDS] = {
        {&PropertyModel::showMinuteVolume, true, true},
        {&PropertyModel::showCardiacOutput, true, true},
        {&PropertyModel::showInitialVentilations, true, true},
        {&PropertyModel::showVentilationRate, true, false},
        {&PropertyModel::showAverageVolume, true, false},
        {&PropertyModel::showStomachInflations, true, false},
        {&PropertyModel::showCompressionRate, false, true},
        {&PropertyModel::showCompressionRelaxationRatio, false, true},
        {&PropertyModel::showCompressionDepth, false, true},
        {&PropertyModel::showPauseBetweenCompressions, false, true},
        {&PropertyModel::showWrongHandPositions, false, true},
        {&PropertyModel::showLeanings, false, true},
        {&PropertyModel::showVentilationCompressionRatio, true, true},
    };
    if (kind < 0 || kind >= ROW_KINDS) {
        KOVA_ASSERT(false);
        return false;
    }
    const Row& row = ROWS[kind];
    if (row.needsVentilations && trainingMode == 3)
        return false;
    if (row.needsCompressions && trainingMode == 2)
        return false;
    return s.*row.setting;
}

std::vector<int> DebriefEvaluation::shownKinds(int trainingMode, const PropertyModel& settings)
{
    std::vector<int> kinds;
    for (int kind = 0; kind < ROW_KINDS; ++kind)
        if (isRowShown(kind, trainingMode, settings))
            kinds.push_back(kind);
    return kinds;
}

bool DebriefEvaluation::closesGroup(int kind, int trainingMode, const PropertyModel& s)
{
    const auto firstShown = [&](std::initializer_list<int> kinds) {
        for (int k : kinds)
            if (isRowShown(k, trainingMode, s))
                return k;
        return -1;
    };
    if (trainingMode != 3 && kind == firstShown({STOMACH_INFLATION, MINUTE_VOLUME, VENTILATION_VOLUME,
                                                  VENTILATION_RATE, INITIAL_VENTILATIONS}))
        return true;
    if (trainingMode != 2 && kind == firstShown({LEANING, WRONG_HAND_POSITION, PAUSE, COMPRESSION_DEPTH,
                                                  COMPRESSION_RELAXATION, COMPRESSION_RATE}))
        return true;
    if (trainingMode == 0 || trainingMode == 1) {
        if (s.showCardiacOutput ? kind == CARDIAC_OUTPUT : (s.showMinuteVolume && kind == MINUTE_VOLUME))
            return true;
    }
    return kind == COMPRESSION_VENTILATION_RATIO && s.showDebriefingComments;
}

int DebriefEvaluation::printSlotCount(int trainingMode, const PropertyModel& s)
{
    int n = 1;
    if (trainingMode != 3)
        n += s.showVentilationRate + s.showAverageVolume + s.showStomachInflations + s.showInitialVentilations;
    if (trainingMode != 2)
        n += s.showInitialVentilations + s.showCompressionRate + s.showCompressionRelaxationRatio +
             s.showCompressionDepth + s.showPauseBetweenCompressions + s.showWrongHandPositions + s.showLeanings;
    if (trainingMode == 0 || trainingMode == 1)
        n += s.showVentilationCompressionRatio + s.showMinuteVolume + s.showCardiacOutput;
    return n;
}
