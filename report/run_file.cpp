#include "report/run_file.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

namespace vm {
namespace {

using Json = nlohmann::json;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr long long kMaxRunFileBytes = 64LL << 20;

const Json* Get(const Json& object, const char* key) {
  if (!object.is_object()) return nullptr;
  const auto it = object.find(key);
  return it == object.end() ? nullptr : &*it;
}

std::string Text(const Json& object, const char* key) {
  const Json* v = Get(object, key);
  return v && v->is_string() ? v->get<std::string>() : "";
}

// A number, NaN for null or anything else.
double Number(const Json* v) {
  return v && v->is_number() ? v->get<double>() : kNone;
}

long long Whole(const Json& object, const char* key) {
  const double v = Number(Get(object, key));
  return std::isfinite(v) && std::fabs(v) < 1e15 ? static_cast<long long>(v) : 0;
}

int Int(const Json& object, const char* key) {
  const long long v = Whole(object, key);
  return v > 2000000000 || v < -2000000000 ? 0 : static_cast<int>(v);
}

TimeStats Stats(const Json& scene, const char* key) {
  const Json* s = Get(scene, key);
  const Json empty;
  const Json& o = s ? *s : empty;
  return TimeStats{Number(Get(o, "mean")), Number(Get(o, "min")), Number(Get(o, "median")),
                   Number(Get(o, "p99")), Number(Get(o, "max"))};
}

std::vector<std::pair<double, double>> Buckets(const Json& scene, const char* key) {
  std::vector<std::pair<double, double>> out;
  const Json* h = Get(scene, key);
  if (!h || !h->is_array()) return out;
  for (const Json& pair : *h)
    if (pair.is_array() && pair.size() == 2 && pair[0].is_number() && pair[1].is_number())
      out.emplace_back(pair[0].get<double>(), pair[1].get<double>());
  return out;
}

bool ReadScenes(const Json& doc, RunData& out, std::string& error) {
  const Json* scenes = Get(doc, "scenes");
  if (!scenes || !scenes->is_array()) {
    error = "no list of scenes";
    return false;
  }
  bool seen[25] = {};
  for (const Json& s : *scenes) {
    RunScene scene;
    const Json* fps = Get(s, "fps");
    const long long number = Whole(s, "scene");
    if (number < 1 || number > 24 || !fps || !(fps->is_number() || fps->is_null())) {
      error = "a scene without a scene number 1-24 and a rate";
      return false;
    }
    if (seen[number]) {
      error = "scene " + std::to_string(number) + " is listed twice";
      return false;
    }
    seen[number] = true;
    scene.scene = static_cast<int>(number);
    scene.name = Text(s, "name");
    scene.fps = Number(fps);
    scene.frames = Whole(s, "frames");
    if (const Json* runs = Get(s, "runs"); runs && runs->is_array())
      for (const Json& r : *runs) scene.runs.push_back(Number(&r));
    scene.draw = Stats(s, "draw_ms");
    scene.frame = Stats(s, "frame_ms");
    scene.drawHist = Buckets(s, "draw_hist");
    scene.frameHist = Buckets(s, "frame_hist");
    if (const Json* v = Get(s, "validation")) {
      scene.validation = Text(*v, "status");
      scene.difference = Number(Get(*v, "difference"));
    }
    out.scenes.push_back(std::move(scene));
  }
  return true;
}

}  // namespace

bool ParseRun(const std::string& text, RunDetail detail, RunData& out, std::string& error) {
  const std::string path = out.path;
  out = RunData();
  out.path = path;
  // Parts a caller does not need are not kept (a long history lists fast).
  const Json::parser_callback_t keep = [detail](int depth, Json::parse_event_t event,
                                                Json& parsed) {
    if (event != Json::parse_event_t::key || detail == RunDetail::kAll) return true;
    if (detail == RunDetail::kSummary) return !(depth == 1 && parsed == "scenes");
    return !(parsed == "draw_hist" || parsed == "frame_hist");
  };
  Json doc;
  try {
    doc = Json::parse(text, keep);
  } catch (const Json::exception& e) {
    // "[json.exception.parse_error.101] parse error at ...": the part after the tag.
    const std::string what = e.what();
    const size_t tag = what.find("] ");
    error = "not valid JSON: " + (tag == std::string::npos ? what : what.substr(tag + 2));
    return false;
  }
  const Json* program = Get(doc, "program");
  if (!program || Text(*program, "name") != "velmark3" || !Get(doc, "settings") ||
      !Get(doc, "score")) {
    error = "not a velmark3 run report";
    return false;
  }
  out.version = Text(*program, "version");
  if (const Json* r = Get(doc, "renderer")) {
    out.vendor = Text(*r, "vendor");
    out.renderer = Text(*r, "renderer");
    out.glVersion = Text(*r, "version");
  }
  out.date = Text(doc, "date");
  if (const Json* m = Get(doc, "machine"); m && m->is_object())
    for (const auto& item : m->items())
      if (item.value().is_string()) out.machine.emplace_back(item.key(), item.value());
  if (const Json* v = Get(doc, "view")) {
    out.width = Int(*v, "width");
    out.height = Int(*v, "height");
  }
  const Json& settings = *Get(doc, "settings");
  out.seconds = Int(settings, "seconds_per_scene");
  out.timerMs = Int(settings, "timer_ms");
  if (const Json* list = Get(settings, "scenes"); list && list->is_array())
    for (const Json& n : *list)
      if (n.is_number_integer()) out.selected.push_back(n.get<int>());
  const Json* complete = Get(doc, "complete");
  out.complete = complete && complete->is_boolean() && complete->get<bool>();
  out.score = Int(doc, "score");
  if (const Json* v = Get(doc, "validated"); v && v->is_boolean()) out.validated = v->get<bool>();
  return detail == RunDetail::kSummary || ReadScenes(doc, out, error);
}

bool ReadRunFile(const std::string& path, RunDetail detail, RunData& out, std::string& error) {
  out.path = path;
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "not a file that can be read";
    return false;
  }
  if (st.st_size > kMaxRunFileBytes) {
    error = "too large for a run report";
    return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = "cannot be opened";
    return false;
  }
  std::string text;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 &&
         text.size() <= static_cast<size_t>(kMaxRunFileBytes))
    text.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    error = "could not be read";
    return false;
  }
  return ParseRun(text, detail, out, error);
}

}  // namespace vm
