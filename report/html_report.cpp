#include "report/html_report.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "report/run_report.h"
#include "results/result_table.h"
#include "version.h"

namespace vm {
namespace {

const char kStyle[] = R"(
:root{color-scheme:light dark;--fg:#1b1f24;--bg:#fff;--mute:#5b6470;--line:#d5dae0;--box:#c9d9ef;
--on:#fff;--c0:#2f6fb7;--c1:#b86414;--c2:#3a9d5d;--c3:#b84a62;--c4:#7d5bb5;--c5:#6f6f6f;--c6:#1f9aa8;--c7:#a3872a}
@media (prefers-color-scheme:dark){:root{--fg:#e6e8eb;--bg:#15181c;--mute:#9aa3ad;--line:#39404a;
--box:#2d4566;--on:#15181c;--c0:#6ea8ee;--c1:#f0a255;--c2:#62c283;--c3:#e57d95;--c4:#ad8ef0;--c5:#b0b0b0;
--c6:#4fc9d6;--c7:#d6b94e}}
*{box-sizing:border-box}
body{margin:0 auto;max-width:75rem;padding:1rem;background:var(--bg);color:var(--fg);
font:16px/1.45 system-ui,-apple-system,"Segoe UI",sans-serif}
h1{font-size:1.6rem;margin:.2rem 0}h2{font-size:1.25rem;margin:2rem 0 .5rem;
border-bottom:1px solid var(--line)}p.note{color:var(--mute);margin:.2rem 0 .6rem}
dl{display:grid;grid-template-columns:max-content 1fr;gap:.15rem 1rem;margin:0}dt{color:var(--mute)}
dd{margin:0;overflow-wrap:anywhere}.score{font-size:2rem;font-weight:700}
.scroll{overflow-x:auto}table{border-collapse:collapse;min-width:100%;font-variant-numeric:tabular-nums}
th,td{padding:.2rem .5rem;border-bottom:1px solid var(--line);text-align:left;vertical-align:top}
.n,.nw{text-align:right;white-space:nowrap}.nw{text-align:left}.changed{font-weight:700;color:var(--c3)}
.chart{display:grid;grid-template-columns:minmax(8rem,20rem) 1fr;gap:.3rem .8rem;align-items:center}
.chart svg{display:block;width:100%}.lab{font-size:.9rem}
.r0{fill:var(--c0)}.r1{fill:var(--c1)}.r2{fill:var(--c2)}.r3{fill:var(--c3)}.r4{fill:var(--c4)}
.r5{fill:var(--c5)}.r6{fill:var(--c6)}.r7{fill:var(--c7)}.tick{stroke:var(--fg);stroke-width:3}
.whisker{stroke:var(--fg);stroke-width:2}.box{fill:var(--box);stroke:var(--fg);stroke-width:2}
.tick,.whisker,.box,.grid{vector-effect:non-scaling-stroke}.grid{stroke:var(--line);stroke-width:1}
.plot{position:relative;min-width:0}.val{position:absolute;font-size:.72rem;line-height:.75rem;
padding:0 .25rem;white-space:nowrap}.val.in{color:var(--on)}
.axis{position:relative;height:1.1rem;font-size:.72rem;color:var(--mute);margin:0 0 .2rem}
.axis span{position:absolute;top:0;transform:translateX(-50%);white-space:nowrap}
.axis span.first{transform:none}.axis span.last{transform:translateX(-100%)}
.cap{font-size:.78rem;color:var(--mute);overflow-wrap:anywhere}
svg.swatch{display:inline;width:.9em;height:.9em;vertical-align:-.1em}
@media (max-width:40rem){.chart{grid-template-columns:1fr}.lab{margin-top:.4rem}body{padding:.6rem}
table.stack thead{display:none}table.stack,table.stack tbody,table.stack tr,table.stack td{display:block;
min-width:0}table.stack caption{display:block;text-align:left}table.stack tr{padding:.3rem 0;border-bottom:1px solid var(--line)}table.stack td{border:0;
padding:.05rem .2rem;text-align:left;white-space:normal}table.stack td::before{content:attr(data-h);
color:var(--mute);font-weight:400;display:inline-block;min-width:9rem;padding-right:.5rem}}
@media print{:root{--fg:#000;--bg:#fff;--mute:#444;--line:#bbb;--box:#dde}body{max-width:none}
.scroll{overflow:visible}section{break-inside:avoid-page}}
)";

std::string Esc(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string HtmlMs(double ms) {
  return std::isfinite(ms) ? FormatC("%.3f", ms) : "-";
}

std::string Cell(const std::string& text, bool number = false) {
  return (number ? "<td class=n>" : "<td>") + text + "</td>";
}

}  // namespace

std::string SceneList(const std::vector<int>& scenes) {
  std::string list;
  for (size_t i = 0; i < scenes.size(); ++i) {
    size_t last = i;
    while (last + 1 < scenes.size() && scenes[last + 1] == scenes[last] + 1) ++last;
    list += (list.empty() ? "" : ",") + std::to_string(scenes[i]);
    if (last > i) list += "-" + std::to_string(scenes[last]);
    i = last;
  }
  return list;
}

namespace {

std::string Settings(const RunData& r) {
  return FormatC("%d s per scene, timer %d ms, scenes ", r.seconds, r.timerMs) +
         SceneList(r.selected);
}

std::string Renderer(const RunData& r) {
  return Esc(r.renderer) + " (" + Esc(r.vendor) + ", OpenGL " + Esc(r.glVersion) + ")";
}

std::string Machine(const RunData& r) {
  std::string out;
  for (const auto& field : r.machine)
    if (!field.second.empty()) out += (out.empty() ? "" : "; ") + Esc(field.second);
  return out.empty() ? "not described" : out;
}

std::string RunName(size_t k) {
  return "Run " + std::to_string(k + 1);
}

std::string Swatch(size_t k) {
  return FormatC(
      "<svg class=\"swatch\" viewBox=\"0 0 10 10\" aria-hidden=\"true\"><rect class=\"r%zu\" "
      "width=\"10\" "
      "height=\"10\"/></svg>",
      k % kMostCompared);
}

std::string Section(const std::string& id, const std::string& title, const std::string& note) {
  return "<section id=\"" + id + "\"><h2>" + title + "</h2>" +
         (note.empty() ? "" : "<p class=note>" + note + "</p>");
}

// One row of a chart: the scene's label and its plot.
std::string ChartRow(const RunScene& s, const std::string& plot) {
  return "<div class=lab>" + std::to_string(s.scene) + " &middot; " + Esc(s.name) + "</div>" + plot;
}

// A drawing `height` units tall on a 1000-wide scale (16 units a rem),
// with the HTML that labels it (text inside a stretched SVG would stretch).
std::string Plot(int height, const std::string& title, const std::string& shapes,
                 const std::string& labels = "", const std::string& below = "") {
  return "<div class=plot><svg viewBox=\"0 0 1000 " + std::to_string(height) +
         "\" preserveAspectRatio=\"none\" style=\"height:" + FormatC("%.2f", height / 16.0) +
         "rem\" role=\"img\"><title>" + title + "</title>" + shapes + "</svg>" + labels + "</div>" +
         below;
}

// A value short enough to sit on a bar; the tables give it in full.
std::string Short(double v) {
  if (!std::isfinite(v)) return "-";
  const double a = std::fabs(v);
  return FormatC(a >= 100 ? "%.0f" : a >= 10 ? "%.1f" : a >= 1 ? "%.2f" : "%.3g", v);
}

std::string Plural(long long n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// A scale from 0 to the first 1, 2, 2.5 or 5 times a power of ten at or
// above `most`, with four or five ticks.
struct Scale {
  double top = 1.0, step = 0.2;
  double Percent(double v) const {
    return std::isfinite(v) && v > 0 ? std::min(100.0, 100.0 * v / top) : 0.0;
  }
};
Scale ScaleFor(double most) {
  Scale s;
  if (!(most > 0) || !std::isfinite(most)) return s;
  const double power = std::pow(10.0, std::floor(std::log10(most)));
  for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * power >= most * (1 - 1e-9)) {
      s.top = m * power;
      s.step = (m == 2.0 ? 0.5 : m == 10.0 ? 2.0 : m / 5.0) * power;
      break;
    }
  return s;
}

// The scale's tick values under a plot, the last with its unit.
std::string Axis(const Scale& s, const char* unit) {
  std::string out = "<div class=axis aria-hidden=\"true\">";
  const int n = static_cast<int>(std::lround(s.top / s.step));
  for (int i = 0; i <= n; ++i) {
    const double v = s.step * i;
    out += FormatC("<span%s style=\"left:%.2f%%\">",
                   i == 0   ? " class=first"
                   : i == n ? " class=last"
                            : "",
                   100.0 * i / n) +
           FormatC("%g", v) + (i == n ? std::string(" ") + unit : "") + "</span>";
  }
  return out + "</div>";
}

// Vertical lines at the scale's ticks, behind the bars.
std::string Grid(const Scale& s, int height) {
  std::string out;
  const int n = static_cast<int>(std::lround(s.top / s.step));
  for (int i = 1; i < n; ++i)
    out += FormatC("<line class=\"grid\" x1=\"%.1f\" y1=\"0\" x2=\"%.1f\" y2=\"%d\"/>",
                   1000.0 * i / n, 1000.0 * i / n, height);
  return out;
}

// The value at the end of a bar `percent` long whose top is `y` units down:
// after it, or inside it when it nears the right edge.
std::string BarValue(double percent, double y, const std::string& text) {
  if (percent > 70)
    return FormatC("<span class=\"val in\" style=\"right:%.2f%%;top:%.3frem\">", 100 - percent,
                   y / 16.0) +
           text + "</span>";
  return FormatC("<span class=val style=\"left:%.2f%%;top:%.3frem\">", percent, y / 16.0) + text +
         "</span>";
}

std::string Rect(double x, double y, double w, double h, const std::string& cls,
                 const std::string& tip = "") {
  return FormatC("<rect class=\"%s\" x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\">",
                 cls.c_str(), x, y, std::max(w, 0.0), h) +
         (tip.empty() ? "" : "<title>" + tip + "</title>") + "</rect>";
}

std::string Line(double x1, double y1, double x2, double y2, const char* cls) {
  return FormatC("<line class=\"%s\" x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\"/>", cls, x1,
                 y1, x2, y2);
}

const RunScene* FindScene(const RunData& r, int scene) {
  for (const RunScene& s : r.scenes)
    if (s.scene == scene) return &s;
  return nullptr;
}

// The scenes any of the runs measured, in scene order.
std::vector<int> AllScenes(const std::vector<RunData>& runs) {
  bool any[kSceneCount + 1] = {};
  for (const RunData& r : runs)
    for (const RunScene& s : r.scenes) any[s.scene] = true;
  std::vector<int> scenes;
  for (int i = 1; i <= kSceneCount; ++i)
    if (any[i]) scenes.push_back(i);
  return scenes;
}

double Rate(const RunScene* s) {
  return s && std::isfinite(s->fps) && s->fps > 0 ? s->fps : 0.0;
}

// Bars of every run for each scene: one scale for all scenes when there is
// one run; when runs are compared, each scene has a scale of its own, drawn
// under it, so a slow scene's change shows as well as a fast one's.
std::string FpsChart(const std::vector<RunData>& runs) {
  const std::vector<int> scenes = AllScenes(runs);
  double top = 0.0;
  for (const RunData& r : runs)
    for (const RunScene& s : r.scenes) top = std::max(top, Rate(&s));
  const bool one = runs.size() == 1;
  std::string out = Section(
      "fps", "Frames per second by scene",
      std::string("Rates over the drawing time, as scored; longer bars are faster. ") +
          (one ? "One scale for all scenes." : "Each scene on its own scale, under its bars."));
  if (!one) {
    out += "<p class=legend>";
    for (size_t k = 0; k < runs.size(); ++k)
      out += Swatch(k) + " " + RunName(k) + (k + 1 < runs.size() ? " &nbsp; " : "");
    out += "</p>";
  }
  out += "<div class=\"chart\" id=\"fps-chart\">";
  const Scale common = ScaleFor(top);
  if (one) out += "<div></div>" + Axis(common, "fps");
  for (int n : scenes) {
    double most = 0.0;
    for (const RunData& r : runs) most = std::max(most, Rate(FindScene(r, n)));
    const Scale scale = one ? common : ScaleFor(most);
    const int height = 16 * static_cast<int>(runs.size());
    std::string bars = Grid(scale, height), values;
    const RunScene* named = nullptr;
    for (size_t k = 0; k < runs.size(); ++k) {
      const RunScene* s = FindScene(runs[k], n);
      if (!named) named = s;
      if (!s || !std::isfinite(s->fps)) continue;  // no bar for a scene without a rate
      const double percent = scale.Percent(Rate(s));
      bars += Rect(0, 16.0 * k + 2, 10 * percent, 12, FormatC("bar r%zu", k % kMostCompared),
                   RunName(k) + ": " + Fps(s->fps) + " fps");
      values += BarValue(percent, 16.0 * k + 2, Short(s->fps));
    }
    out += ChartRow(*named, Plot(height, "Scene " + std::to_string(n) + " frames per second", bars,
                                 values, one ? "" : "<div></div>" + Axis(scale, "fps")));
  }
  if (one && scenes.size() > 8) out += "<div></div>" + Axis(common, "fps");
  return out + "</div>";
}

// Draw and frame time of each scene on one scale: the median as a bar,
// p99 and max as ticks, each measure named with its numbers.
std::string FrameTimeChart(const RunData& r) {
  double most = 0.0;
  for (const RunScene& s : r.scenes)
    for (double v : {s.draw.max, s.frame.max, s.draw.p99, s.frame.p99})
      if (std::isfinite(v)) most = std::max(most, v);
  const Scale scale = ScaleFor(most);
  std::string out = Section("frame-times", "Frame times by scene",
                            "For each scene, its drawing time and its whole frame (drawing, "
                            "finish and swap) in ms, on one scale for all scenes: the bar is "
                            "the median, the ticks the 99th percentile and the slowest frame.");
  out += "<div class=chart id=\"frame-chart\"><div></div>" + Axis(scale, "ms");
  std::string table;
  for (const RunScene& s : r.scenes) {
    std::string plots;
    const auto x = [&](double v) { return 10 * scale.Percent(v); };
    for (const TimeStats* t : {&s.draw, &s.frame}) {
      const bool draw = t == &s.draw;
      const std::string shapes =
          Grid(scale, 18) +
          Rect(0, 3, x(t->median), 12, draw ? "r0" : "r1",
               (draw ? "draw median " : "frame median ") + HtmlMs(t->median) + " ms") +
          Line(x(t->p99), 1, x(t->p99), 17, "tick") +
          Line(std::min(x(t->max) + 2, 999.0), 1, std::min(x(t->max) + 2, 999.0), 17, "tick");
      plots +=
          "<div class=cap>" + std::string(draw ? "Drawing" : "Whole frame") + ": median " +
          Short(t->median) + ", p99 " + Short(t->p99) + ", slowest " + Short(t->max) + " ms</div>" +
          Plot(18, "Scene " + std::to_string(s.scene) + (draw ? " drawing" : " frame") + " times",
               shapes);
    }
    out += ChartRow(s, "<div>" + plots + "</div>");
    table += "<tr>" + Cell(std::to_string(s.scene), true) + Cell(Esc(s.name));
    for (const TimeStats* t : {&s.draw, &s.frame})
      table +=
          Cell(HtmlMs(t->median), true) + Cell(HtmlMs(t->p99), true) + Cell(HtmlMs(t->max), true);
    table += Cell(std::to_string(s.frames), true) + "</tr>";
  }
  if (r.scenes.size() > 4) out += "<div></div>" + Axis(scale, "ms");
  return out +
         "</div><div class=scroll><table><caption>Frame times in ms</caption><thead><tr>"
         "<th class=n>Scene<th>Name<th class=n>Draw median<th class=n>Draw p99<th class=n>"
         "Draw max<th class=n>Frame median<th class=n>Frame p99<th class=n>Frame max"
         "<th class=n>Frames</tr></thead><tbody>" +
         table + "</tbody></table></div></section>";
}

// Each scene's whole frames by time, from its histogram: a column per
// bucket on a logarithmic time axis, so stalls stand apart from the mass.
std::string Distribution(const RunData& r) {
  std::string out = Section("distribution", "Frame-time distribution by scene",
                            "Whole frames by time, fastest at the left, each scene on a "
                            "logarithmic scale of its own from its fastest to its slowest frame "
                            "(the bounds under it); the height is the share of frames.");
  out += "<div class=chart id=\"distribution-chart\">";
  std::string table;
  for (const RunScene& s : r.scenes) {
    const auto& h = s.frameHist;
    if (h.empty() || !(h.front().first > 0)) continue;
    const double lo = std::log(h.front().first / 1.02), hi = std::log(h.back().first);
    double most = 0;
    for (const auto& b : h) most = std::max(most, b.second);
    std::string shapes, cells;
    for (const auto& b : h) {
      const double x = hi > lo ? 990.0 * (std::log(b.first) - lo) / (hi - lo) : 990.0;
      const double height = most > 0 ? 36.0 * b.second / most : 0.0;
      shapes += Rect(std::max(0.0, x - 6), 38 - height, 6, height, "dist r1",
                     Plural(std::llround(b.second), "frame", "frames") + " up to " +
                         FormatC("%.3f", b.first) + " ms");
      cells += FormatC("%s%.3f: %.0f", cells.empty() ? "" : ", ", b.first, b.second);
    }
    const std::string bounds =
        "<div class=axis><span class=first style=\"left:0\">" + Short(h.front().first / 1.02) +
        " ms</span><span style=\"left:50%\">tallest " +
        Plural(std::llround(most), "frame", "frames") +
        "</span><span class=last style=\"left:100%\">" + Short(h.back().first) + " ms</span></div>";
    out += ChartRow(s, Plot(40, "Scene " + std::to_string(s.scene) + " frame-time distribution",
                            shapes, "", "<div></div>" + bounds));
    table += "<tr>" + Cell(std::to_string(s.scene), true) + Cell(cells) + "</tr>";
  }
  return out +
         "</div><div class=scroll><table><caption>Frames per bucket (upper bound in ms: "
         "frames)</caption><thead><tr><th class=n>Scene<th>Buckets</tr></thead><tbody>" +
         table + "</tbody></table></div></section>";
}

std::string OneRun(const RunData& r, const Standing& standing) {
  std::string out = "<section id=\"run\"><h2>The run</h2><dl>";
  const std::pair<const char*, std::string> facts[] = {
      {"Program", "Velmark3 " + Esc(r.version)},
      {"Renderer", Renderer(r)},
      {"View", FormatC("%d &times; %d", r.width, r.height)},
      {"Settings", Settings(r)},
      {"Date", r.date.empty() ? "unknown" : Esc(r.date)},
      {"Machine", Machine(r)},
      {"Complete", r.complete      ? "yes, all 24 scenes"
                   : r.interrupted ? "no, interrupted: only the scenes it finished"
                                   : "no"},
  };
  for (const auto& f : facts) out += std::string("<dt>") + f.first + "<dd>" + f.second;
  if (r.validated >= 0)
    out += std::string("<dt>Validated<dd>") + (r.validated ? "yes" : "<b class=changed>no</b>");
  out += "</dl><p>Score <span class=score>" + std::to_string(r.score) + "</span></p><p>";
  if (standing.place > 0 && standing.saved)
    out += FormatC("Place %d of %d: among the ", standing.place, standing.machines) +
           Plural(standing.machines, "machine", "machines") + " of " + Esc(standing.file) +
           ", where this run is saved.";
  else if (standing.place > 0)
    out += FormatC("Place %d of %d: among the ", standing.place, standing.machines + 1) +
           Plural(standing.machines, "machine", "machines") + " of " + Esc(standing.file) +
           " and this run.";
  else
    out += "No results file to rank it against.";
  if (standing.place > 0 && !r.complete)
    out +=
        FormatC(" <b class=changed>partial</b>: %zu of the %d scenes, the others ranked as 0 fps.",
                r.scenes.size(), kSceneCount);
  if (!RunMarks(r).empty()) out += " <b class=changed>" + RunMarks(r) + "</b>.";
  out += "</p></section>" + FpsChart({r});
  bool validation = false;
  for (const RunScene& s : r.scenes) validation = validation || !s.validation.empty();
  std::string table;
  for (const RunScene& s : r.scenes) {
    table += "<tr>" + Cell(std::to_string(s.scene), true) + Cell(Esc(s.name)) +
             Cell(Fps(s.fps), true) + Cell(Fps(s.frameFps), true) +
             Cell(std::to_string(s.frames), true);
    if (validation)
      table +=
          Cell(s.validation.empty() ? "-"
                                    : Esc(s.validation) + " (" + FormatC("%g", s.difference) + ")");
    table += "</tr>";
  }
  out +=
      "<div class=scroll><table><caption>Frames per second: over the drawing time (scored), "
      "and over whole frames with finish and swap</caption><thead><tr><th class=n>Scene<th>Name"
      "<th class=n>fps (drawing, scored)<th class=n>fps (whole frames)<th class=n>Frames" +
      std::string(validation ? "<th>Validation (difference)" : "") + "</tr></thead><tbody>" +
      table + "</tbody></table></div></section>";
  return out + FrameTimeChart(r) + Distribution(r);
}

std::string RunsTable(const std::vector<RunData>& runs) {
  std::string out =
      "<section id=\"runs\"><h2>The runs</h2><div class=scroll><table><thead><tr><th>Run"
      "<th>Date<th>Renderer<th>View<th>Settings<th>Machine<th class=n>Score<th>Complete"
      "<th>Marks<th>File</tr></thead><tbody>";
  for (size_t k = 0; k < runs.size(); ++k) {
    const RunData& r = runs[k];
    out += "<tr><td class=nw>" + Swatch(k) + " " + RunName(k) + "</td>" + Cell(Esc(r.date)) +
           Cell(Renderer(r)) + Cell(FormatC("%d&times;%d", r.width, r.height)) + Cell(Settings(r)) +
           Cell(Machine(r)) + Cell(std::to_string(r.score), true) +
           Cell(r.complete ? "yes" : "no") +
           Cell(RunMarks(r).empty() ? "" : "<b class=changed>" + RunMarks(r) + "</b>") +
           Cell(Esc(r.path)) + "</tr>";
  }
  return out + "</tbody></table></div></section>";
}

// The verdicts in a sentence or two, before any detail.
std::string Changes(const std::vector<SideComparison>& comparisons) {
  std::string out = "<section id=\"changes\"><h2>What changed</h2>";
  for (const SideComparison& c : comparisons) {
    std::string changed;
    int same = 0, thin = 0;
    for (const SceneVerdict& v : c.scenes) {
      if (v.v.call == Call::kNoChange) ++same;
      if (v.v.call == Call::kNotEnough) ++thin;
      if (v.v.call != Call::kFaster && v.v.call != Call::kSlower) continue;
      changed += std::string(changed.empty() ? "" : "; ") + "scene " + std::to_string(v.scene) +
                 " " + Esc(VerdictText(v));
    }
    out += "<p>" + Esc(c.title) + ": ";
    if (c.scenes.empty()) {
      out += "no scene in common: nothing to compare.";
    } else {
      // A scene without enough runs is no claim either way: never counted as unchanged.
      std::string rest;
      if (same) rest += "no change detected in " + Plural(same, "scene", "scenes");
      if (thin)
        rest += (rest.empty() ? "" : ", ") + std::string("not enough runs for ") +
                Plural(thin, "scene", "scenes") + " (no claim either way)";
      out += changed.empty() ? rest + "."
                             : "<b class=changed>changed</b>: " + changed +
                                   (rest.empty() ? "." : "; " + rest + ".");
    }
    out += "</p><p class=note>" + Esc(c.header) + ".";
    for (const std::string& l : c.leftOut) out += " " + Esc(l) + ".";
    out += "</p>";
  }
  return out + "</section>";
}

// A run's rate, with the range of its repeats when it has several.
std::string RateWithSpread(const RunScene* s) {
  if (!s) return "-";
  double lo = 0, hi = 0;
  int n = 0;
  for (double r : s->runs)
    if (std::isfinite(r)) {
      lo = n ? std::min(lo, r) : r;
      hi = n++ ? std::max(hi, r) : r;
    }
  if (n < 2) return Fps(s->fps);
  return Fps(s->fps) + FormatC("<br><small>%d runs: %.2f&ndash;%.2f</small>", n, lo, hi);
}

std::string Compared(const std::vector<RunData>& runs,
                     const std::vector<SideComparison>& comparisons) {
  std::string out = Changes(comparisons) + RunsTable(runs) + FpsChart(runs);
  const bool paired = comparisons.size() + 1 == runs.size();
  std::string head = "<th class=n>Scene<th>Name<th class=n>" + RunName(0) + " fps";
  for (size_t k = 1; k < runs.size(); ++k)
    head += "<th class=n>" + RunName(k) + " fps" +
            std::string(paired ? "<th class=n>Ratio<th>Verdict" : "");
  std::string rows;
  for (int n : AllScenes(runs)) {
    const RunScene* first = FindScene(runs[0], n);
    const RunScene* any = first;
    for (const RunData& r : runs) any = any ? any : FindScene(r, n);
    rows += "<tr>" + Cell(std::to_string(n), true) + Cell(Esc(any->name)) +
            Cell(RateWithSpread(first), true);
    for (size_t k = 1; k < runs.size(); ++k) {
      rows += Cell(RateWithSpread(FindScene(runs[k], n)), true);
      if (!paired) continue;
      const SceneVerdict* v = nullptr;
      for (const SceneVerdict& c : comparisons[k - 1].scenes) v = c.scene == n ? &c : v;
      const bool claim = v && (v->v.call == Call::kFaster || v->v.call == Call::kSlower);
      rows +=
          Cell(v && std::isfinite(v->v.ratio) ? FormatC("%.3f", v->v.ratio) : "-", true) +
          (v ? std::string(claim ? "<td class=changed>" : "<td>") + Esc(VerdictText(*v)) + "</td>"
             : "<td>-</td>");
    }
    rows += "</tr>";
  }
  return out +
         "<div class=scroll><table><caption>Frames per second (the median of a run's repeats, "
         "with their range)" +
         std::string(paired ? ", and each run's ratio to Run 1 with its verdict" : "") +
         "</caption><thead><tr>" + head + "</tr></thead><tbody>" + rows +
         "</tbody></table></div></section>";
}

double Quantile(const std::vector<double>& sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const size_t lo = static_cast<size_t>(at);
  const size_t hi = std::min(lo + 1, sorted.size() - 1);
  return sorted[lo] + (sorted[hi] - sorted[lo]) * (at - static_cast<double>(lo));
}

// Runs that failed validation or were interrupted, and scenes that ran on a
// busy machine, stay out of the statistics unless all are asked for.
bool Counted(const RunData& r, const RunScene& s, bool all) {
  return all || (r.validated != 0 && !r.interrupted && !s.busy);
}

std::string Many(const std::vector<RunData>& runs, const std::vector<SideComparison>& comparisons,
                 bool all) {
  int marked = 0;
  for (const RunData& r : runs) marked += RunMarks(r).empty() ? 0 : 1;
  std::string out =
      (comparisons.empty() ? "" : Changes(comparisons)) +
      Section(
          "fps", "Frames per second by scene, over " + std::to_string(runs.size()) + " runs",
          "Box: the middle half of the runs, with the median; whiskers: the "
          "slowest and fastest run. Each scene on its own scale, under it." +
              (marked == 0 ? std::string()
               : all
                   ? " " + Plural(marked, "marked run is", "marked runs are") + " included (--all)."
                   : " Left out: the scenes of " + Plural(marked, "marked run", "marked runs") +
                         " that failed validation, were interrupted or ran on a busy "
                         "machine (--all keeps them)."));
  out += "<div class=chart id=\"box-chart\">";
  std::string table;
  for (int n : AllScenes(runs)) {
    std::vector<double> rates;
    const RunScene* named = nullptr;
    for (const RunData& r : runs)
      if (const RunScene* s = FindScene(r, n)) {
        named = named ? named : s;
        if (std::isfinite(s->fps) && Counted(r, *s, all)) rates.push_back(s->fps);
      }
    std::string shapes, caption;
    double q[5] = {0, 0, 0, 0, 0};
    Scale scale;
    if (!rates.empty()) {
      std::sort(rates.begin(), rates.end());
      for (int i = 0; i < 5; ++i) q[i] = Quantile(rates, i / 4.0);
      scale = ScaleFor(q[4]);
      const auto x = [&](double v) { return 10 * scale.Percent(v); };
      shapes = Grid(scale, 32) + Line(x(q[0]), 16, x(q[4]), 16, "whisker") +
               Line(x(q[0]), 6, x(q[0]), 26, "whisker") + Line(x(q[4]), 6, x(q[4]), 26, "whisker") +
               Rect(x(q[1]), 4, x(q[3]) - x(q[1]), 24, "box") +
               Line(x(q[2]), 4, x(q[2]), 28, "tick");
      caption = "<div class=cap>slowest " + Short(q[0]) + ", median " + Short(q[2]) + ", fastest " +
                Short(q[4]) + " fps (" +
                Plural(static_cast<long long>(rates.size()), "run", "runs") + ")</div>";
    }
    out += ChartRow(
        *named,
        "<div>" + caption +
            Plot(32, "Scene " + std::to_string(n) + " frames per second over the runs", shapes) +
            (rates.empty() ? "" : Axis(scale, "fps")) + "</div>");
    table += "<tr>" + Cell(std::to_string(n), true) + Cell(Esc(named->name)) +
             Cell(std::to_string(rates.size()), true);
    for (double v : q) table += Cell(rates.empty() ? "-" : Fps(v), true);
    table += "</tr>";
  }
  out +=
      "</div><div class=scroll><table><caption>Frames per second over the runs</caption>"
      "<thead><tr><th class=n>Scene<th>Name<th class=n>Runs<th class=n>Slowest<th class=n>"
      "Lower quarter<th class=n>Median<th class=n>Upper quarter<th class=n>Fastest</tr>"
      "</thead><tbody>" +
      table + "</tbody></table></div></section>";
  std::vector<size_t> order(runs.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return runs[a].score > runs[b].score; });
  out += Section("runs", "The runs by score", "") +
         "<div class=scroll><table><thead><tr><th class=n>Place<th class=n>Score<th>Date"
         "<th>Renderer<th>Complete<th>Marks<th>File</tr></thead><tbody>";
  // Short rows: thousands of them must stay a small file.
  for (size_t i = 0; i < order.size(); ++i) {
    const RunData& r = runs[order[i]];
    out += "<tr><td class=n>" + std::to_string(i + 1) + "<td class=n>" + std::to_string(r.score) +
           "<td>" + Esc(r.date) + "<td>" + Esc(r.renderer) + "<td>" + (r.complete ? "yes" : "no") +
           "<td>" + RunMarks(r) + "<td>" + Esc(r.path) + "\n";
  }
  return out + "</tbody></table></div></section>";
}

// At phone width a table is shown row by row, each value after its
// column's name; the names go on the cells here. A very long table stays
// as it is, short.
std::string StackTables(const std::string& page) {
  const auto tag = [&](size_t from, const char* name, size_t until) {
    const size_t n = std::char_traits<char>::length(name);
    for (size_t p = page.find(name, from); p < until; p = page.find(name, p + n))
      if (page[p + n] == '>' || page[p + n] == ' ') return p;
    return std::string::npos;
  };
  std::string out;
  size_t at = 0;
  for (size_t t; (t = page.find("<table>", at)) != std::string::npos;) {
    const size_t end = page.find("</table>", t), npos = std::string::npos;
    const size_t head = page.find("<thead>", t), headEnd = page.find("</thead>", t);
    size_t rows = 0;
    for (size_t p = tag(headEnd, "<tr", end); p != npos; p = tag(p + 3, "<tr", end)) ++rows;
    out.append(page, at, t - at);
    at = t;
    if (end == npos || head > end || headEnd > end || rows > 200) continue;
    std::vector<std::string> names;
    for (size_t p = tag(head, "<th", headEnd); p != npos;) {
      const size_t open = page.find('>', p) + 1;
      const size_t next = std::min(tag(open, "<th", headEnd), page.find("</tr>", open));
      std::string name;
      bool inTag = false;
      for (size_t i = open; i < next && i < headEnd; ++i) {
        if (page[i] == '<') inTag = true;
        if (!inTag) name += page[i];
        if (page[i] == '>') inTag = false;
      }
      names.push_back(name);
      p = next < headEnd ? tag(next, "<th", headEnd) : npos;
    }
    out += "<table class=stack>";
    at = t + 7;
    size_t column = 0;
    for (size_t p = headEnd; (p = page.find('<', p)) < end; ++p) {
      if (tag(p, "<tr", p + 1) == p) column = 0;
      if (tag(p, "<td", p + 1) != p) continue;
      out.append(page, at, p + 3 - at);
      if (column < names.size()) out += " data-h=\"" + names[column] + "\"";
      ++column;
      at = p + 3;
    }
  }
  return out + page.substr(at);
}

}  // namespace

std::vector<SideComparison> EachAgainstFirst(const std::vector<RunData>& runs, bool all) {
  std::vector<SideComparison> out;
  for (size_t k = 1; k < runs.size(); ++k) {
    out.push_back(CompareSides({&runs[0]}, {&runs[k]}, all));
    out.back().title = RunName(k) + " against " + RunName(0);
  }
  return out;
}

std::string Fps(double fps) {
  return std::isfinite(fps) ? FormatC("%f", fps) : "-";
}

std::string RunMarks(const RunData& r) {
  std::string marks;
  const auto add = [&](const char* what) {
    marks += (marks.empty() ? "" : ", ") + std::string(what);
  };
  if (r.validated == 0) add("failed validation");
  if (r.interrupted) add("interrupted");
  bool busy = r.quiet == 0;
  for (const RunScene& s : r.scenes) busy = busy || s.busy;
  if (busy) add("busy");
  return marks;
}

Standing RankRun(const RunData& run, const std::string& resultsFile) {
  Standing s;
  ResultsFileReport found;
  LoadResultTable(resultsFile.c_str(), &found);
  if (found.state != FileState::kRead) return s;
  s.file = resultsFile;
  s.machines = lastResultIndex + 1;
  // A record with this run's 24 rates (as saved, "%f") is this run.
  float rates[kSceneCount] = {};
  for (const RunScene& r : run.scenes)
    if (r.scene >= 1 && r.scene <= kSceneCount && std::isfinite(r.fps))
      rates[r.scene - 1] = static_cast<float>(r.fps);
  int self = -1;
  for (int k = 0; k <= lastResultIndex && self < 0; ++k) {
    bool same = true;
    for (int i = 0; i < kSceneCount && same; ++i) {
      const double a = ResultTable[k].sceneFps[i], b = rates[i];
      same = std::fabs(a - b) <= 2e-6 + 1e-6 * std::fabs(b);
    }
    if (same) self = k;
  }
  s.saved = self >= 0;
  s.place = 1;
  for (int r = 0; r <= lastResultIndex; ++r)
    s.place += r != self && ResultScore(ResultTable[r].averageFps) > run.score ? 1 : 0;
  return s;
}

std::string HtmlReport(const std::vector<RunData>& runs, const Standing& standing,
                       const std::vector<SideComparison>& comparisons, bool all) {
  std::string out =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
      "'unsafe-inline'\">\n<meta name=\"viewport\" content=\"width=device-width, "
      "initial-scale=1\">\n<title>Velmark3 report</title>\n<style>";
  out += kStyle;
  out += "</style></head>\n<body><header><h1>Velmark3 report</h1><p class=note>";
  out += runs.size() == 1 ? "One run" : std::to_string(runs.size()) + " runs";
  out += ", written by velmark3-cli " VM_VERSION ".</p></header>\n";
  if (runs.size() == 1)
    out += OneRun(runs[0], standing);
  else if (runs.size() <= static_cast<size_t>(kMostCompared))
    out += Compared(runs, comparisons.empty() ? EachAgainstFirst(runs, all) : comparisons);
  else if (!runs.empty())
    out += Many(runs, comparisons, all);
  return StackTables(out) + "\n</body></html>\n";
}

}  // namespace vm
