#include "html/profit_chart.h"

#include "html/page_conventions.h"
#include "html/returns_text.h"
#include "text/format.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelkor {
namespace {

constexpr int kWidth = 760, kHeight = 340;
constexpr int kLeft = 80, kTop = 20, kPlotWidth = 480, kPlotHeight = 280;

// A marker shape as an SVG path around (0, 0), drawn hollow.
struct Style {
    const char* colour;
    const char* dashes;
    const char* marker;
};
// The program's line first, bold and solid; each baseline its own colour,
// dash and marker, so lines that coincide stay apart without colour too.
constexpr Style kStyles[] = {
    {"cc0000", "none", "M-4,-4h8v8h-8z"},                              // square
    {"0000cc", "8,4", "M-4.5,0a4.5,4.5 0 1,0 9,0a4.5,4.5 0 1,0 -9,0"}, // circle
    {"008800", "2,3", "M0,-5L5,4H-5z"},                                // triangle
    {"884400", "12,3,2,3", "M0,-5L5,0L0,5L-5,0z"},                     // diamond
    {"666666", "4,4", "M0,5L5,-4H-5z"},                                // triangle down
    {"aa00aa", "1,5", "M-4,-4L4,4M-4,4L4,-4"},                         // cross
};
constexpr int kMarkersPerLine = 6;

std::string markerAt(const Style& style, double x, double y, int width) {
    return format("<path d=\"%s\" transform=\"translate(%.1f,%.1f)\" fill=\"#ffffff\" "
                  "stroke=\"#%s\" stroke-width=\"%d\"/>",
                  style.marker, x, y, style.colour, width);
}

// A step of 1, 2 or 5 times a power of ten giving about five ticks.
double niceStep(double span) {
    const double raw = std::max(span, 1.0) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw)
            return m * power;
    return 10 * power;
}

} // namespace

std::string profitChart(std::span<const ReturnRace> races) {
    std::vector<const char*> labels;
    std::vector<RaceTake (*)(const ReturnRace&)> takes;
    for (const ReturnLineInfo& line : programLines().first(1)) {
        labels.push_back(line.label);
        takes.push_back(line.take);
    }
    for (const ReturnLineInfo& line : baselineLines()) {
        labels.push_back(line.label);
        takes.push_back(line.take);
    }
    std::vector<std::vector<double>> profit(takes.size(), std::vector<double>(1, 0.0));
    double low = 0, high = 0;
    for (const ReturnRace& race : races)
        for (size_t l = 0; l < takes.size(); ++l) {
            const RaceTake t = takes[l](race);
            profit[l].push_back(profit[l].back() + t.ret - t.stake);
            low = std::min(low, profit[l].back());
            high = std::max(high, profit[l].back());
        }
    const double step = niceStep(high - low);
    const double bottom = std::floor(low / step) * step;
    const double top = std::max(bottom + step, std::ceil(high / step) * step);
    const auto yOf = [&](double v) { return kTop + kPlotHeight * (top - v) / (top - bottom); };
    const auto xOf = [&](size_t i) {
        return kLeft + kPlotWidth * static_cast<double>(i) /
                           static_cast<double>(std::max<size_t>(races.size(), 1));
    };

    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" "
                             "viewBox=\"0 0 %d %d\">\r\n<rect width=\"%d\" height=\"%d\" "
                             "fill=\"#ffffff\"/>\r\n",
                             kWidth, kHeight, kWidth, kHeight, kWidth, kHeight);
    for (double v = bottom; v <= top + step / 2; v += step)
        appendFormat(svg,
                     "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"#%s\"/><text "
                     "x=\"%d\" y=\"%.1f\" font-size=\"11\" text-anchor=\"end\">%s</text>\r\n",
                     kLeft, yOf(v), kLeft + kPlotWidth, yOf(v),
                     std::abs(v) < step / 2 ? "000000" : "cccccc", kLeft - 4, yOf(v) + 4,
                     yenText(std::abs(v) < step / 2 ? 0 : v).c_str());
    // A tick where each month begins, named by its month (and its year in
    // January and at the start); at most about twelve names.
    std::vector<size_t> monthStarts;
    for (size_t i = 0; i < races.size(); ++i)
        if (i == 0 || races[i].id.monthDay / 100 != races[i - 1].id.monthDay / 100 ||
            races[i].id.year != races[i - 1].id.year)
            monthStarts.push_back(i);
    const size_t monthStep = (monthStarts.size() + 11) / 12;
    for (size_t m = 0; m < monthStarts.size(); m += monthStep) {
        const PastRaceId& id = races[monthStarts[m]].id;
        const double x = xOf(monthStarts[m]);
        appendFormat(svg,
                     "<line x1=\"%.1f\" y1=\"%d\" x2=\"%.1f\" y2=\"%d\" stroke=\"#000000\"/>"
                     "<text x=\"%.1f\" y=\"%d\" font-size=\"11\">%s</text>\r\n",
                     x, kTop + kPlotHeight, x, kTop + kPlotHeight + 5, x, kTop + kPlotHeight + 17,
                     m == 0 || id.monthDay / 100 == 1
                         ? format("%d年%d月", id.year, id.monthDay / 100).c_str()
                         : format("%d月", id.monthDay / 100).c_str());
    }
    for (size_t l = 0; l < profit.size(); ++l) {
        const Style& style = kStyles[l % std::size(kStyles)];
        appendFormat(svg,
                     "<polyline class=\"profit\" fill=\"none\" stroke=\"#%s\" stroke-width=\"%d\" "
                     "stroke-dasharray=\"%s\" points=\"",
                     style.colour, l == 0 ? 3 : 2, style.dashes);
        // About two points a pixel are enough; the last one is always drawn.
        const size_t last = profit[l].size() - 1;
        const size_t every = std::max<size_t>(1, last / (2 * kPlotWidth));
        for (size_t i = 0; i <= last; i = i == last ? last + 1 : std::min(last, i + every))
            appendFormat(svg, "%s%.1f,%.1f", i == 0 ? "" : " ", xOf(i), yOf(profit[l][i]));
        svg += "\"/>\r\n";
        // Markers spread along the line, each line's a little further on,
        // so lines on top of each other still show every shape.
        const size_t lines = profit.size();
        for (int k = 0; k < kMarkersPerLine && last > 0; ++k) {
            const auto i = static_cast<size_t>(
                static_cast<double>(last) *
                (k + (static_cast<double>(l) + 0.5) / static_cast<double>(lines)) /
                kMarkersPerLine);
            svg += markerAt(style, xOf(i), yOf(profit[l][i]), l == 0 ? 2 : 1);
        }
        svg += "\r\n";
        const int ly = kTop + 10 + 20 * static_cast<int>(l);
        appendFormat(svg,
                     "<line x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\" stroke=\"#%s\" "
                     "stroke-width=\"%d\" stroke-dasharray=\"%s\"/><text x=\"%d\" y=\"%d\" "
                     "font-size=\"12\">%s</text>\r\n",
                     kLeft + kPlotWidth + 10, ly, kLeft + kPlotWidth + 34, ly, style.colour,
                     l == 0 ? 3 : 2, style.dashes, kLeft + kPlotWidth + 38, ly + 4,
                     htmlEscape(labels[l]).c_str());
        svg += markerAt(style, kLeft + kPlotWidth + 22, ly, l == 0 ? 2 : 1) + "\r\n";
    }
    appendFormat(svg,
                 "<text x=\"%d\" y=\"%d\" font-size=\"12\">累積の収支 (払戻 − 購入額)</text>\r\n",
                 kLeft, kTop - 6);
    svg += "</svg>\r\n";
    return svg;
}

} // namespace zelkor
