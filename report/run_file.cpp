#include "report/run_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
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
    scene.frameFps = Number(Get(s, "frame_fps"));
    scene.drawHist = Buckets(s, "draw_hist");
    scene.frameHist = Buckets(s, "frame_hist");
    if (const Json* v = Get(s, "validation")) {
      scene.validation = Text(*v, "status");
      scene.difference = Number(Get(*v, "difference"));
    }
    if (const Json* e = Get(s, "environment"); e && e->is_object()) {
      const Json* busy = Get(*e, "busy");
      scene.busy = busy && busy->is_boolean() && busy->get<bool>();
      scene.otherCpus = Number(Get(*e, "other_cpus"));
      scene.cpus = Int(*e, "cpus");
      if (const Json* list = Get(*e, "busy_runs"); list && list->is_array())
        for (const Json& n : *list)
          if (n.is_number_integer()) scene.busyRuns.push_back(n.get<int>());
    }
    out.scenes.push_back(std::move(scene));
  }
  return true;
}

// Builds the document from the parser's events, leaving out what a caller
// does not need: a long history lists fast when its scenes are not read.
class Builder : public nlohmann::json_sax<Json> {
 public:
  explicit Builder(RunDetail detail) : detail_(detail) {}
  bool null() override { return Put(nullptr); }
  bool boolean(bool v) override { return Put(v); }
  bool number_integer(number_integer_t v) override { return Put(v); }
  bool number_unsigned(number_unsigned_t v) override { return Put(v); }
  bool number_float(number_float_t v, const string_t&) override { return Put(v); }
  bool string(string_t& v) override { return Put(v); }
  bool binary(binary_t&) override { return Put(nullptr); }
  bool start_object(std::size_t) override { return Open(Json::object()); }
  bool start_array(std::size_t) override { return Open(Json::array()); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }
  bool key(string_t& k) override {
    if (skipped_ > 0) return true;
    if (detail_ == RunDetail::kSummary && open_.size() == 1 && k == "scenes") {
      // This program writes the summary before the scenes; another order
      // (a file passed through a tool that sorts keys) reads on.
      stopped = true;
      for (const char* needed : {"program", "renderer", "date", "settings", "complete", "score"})
        stopped = stopped && root.contains(needed);
      if (stopped) return false;
    }
    skipNext_ = (detail_ == RunDetail::kNoHistograms && (k == "draw_hist" || k == "frame_hist")) ||
                (detail_ == RunDetail::kSummary && open_.size() == 1 && k == "scenes");
    key_ = k;
    return true;
  }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    // "[json.exception.parse_error.101] parse error at ...": the part after the tag.
    const std::string what = e.what();
    const size_t tag = what.find("] ");
    error = "not valid JSON: " + (tag == std::string::npos ? what : what.substr(tag + 2));
    return false;
  }

  Json root;
  bool stopped = false;
  std::string error;

 private:
  // Where the next value goes; null while inside a skipped value.
  Json* Slot() {
    if (skipped_ > 0 || skipNext_) return nullptr;
    if (open_.empty()) return &root;
    Json& top = *open_.back();
    if (top.is_array()) {
      top.push_back(nullptr);
      return &top.back();
    }
    return &top[key_];
  }
  bool Put(Json v) {
    if (Json* at = Slot()) *at = std::move(v);
    skipNext_ = false;
    return true;
  }
  bool Open(Json v) {
    Json* at = Slot();
    skipNext_ = false;
    if (!at) {
      ++skipped_;
      return true;
    }
    *at = std::move(v);
    open_.push_back(at);
    return true;
  }
  bool Close() {
    if (skipped_ > 0)
      --skipped_;
    else
      open_.pop_back();
    return true;
  }

  RunDetail detail_;
  std::vector<Json*> open_;
  std::string key_;
  bool skipNext_ = false;
  int skipped_ = 0;
};

}  // namespace

bool ParseRun(const std::string& text, RunDetail detail, RunData& out, std::string& error) {
  const std::string path = out.path;
  out = RunData();
  out.path = path;
  Builder builder(detail);
  if (!Json::sax_parse(text, &builder) && !builder.stopped) {
    error = builder.error.empty() ? "not valid JSON" : builder.error;
    return false;
  }
  const Json& doc = builder.root;
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
    out.depthBits = Int(*v, "depth_bits");
  }
  const Json& settings = *Get(doc, "settings");
  out.seconds = Int(settings, "seconds_per_scene");
  out.timerMs = Int(settings, "timer_ms");
  if (const Json* list = Get(settings, "scenes"); list && list->is_array())
    for (const Json& n : *list)
      if (n.is_number_integer()) out.selected.push_back(n.get<int>());
  const Json* complete = Get(doc, "complete");
  out.complete = complete && complete->is_boolean() && complete->get<bool>();
  const Json* interrupted = Get(doc, "interrupted");
  out.interrupted = interrupted && interrupted->is_boolean() && interrupted->get<bool>();
  out.score = Int(doc, "score");
  if (const Json* v = Get(doc, "validated"); v && v->is_boolean()) out.validated = v->get<bool>();
  if (const Json* e = Get(doc, "environment"))
    if (const Json* q = Get(*e, "quiet"); q && q->is_boolean()) out.quiet = q->get<bool>();
  return detail == RunDetail::kSummary || ReadScenes(doc, out, error);
}

bool ReadRunFile(const std::string& path, RunDetail detail, RunData& out, std::string& error) {
  out.path = path;
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "not a regular file";
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
