// The architecture check over the sources: fails on an include against the
// direction of the libraries, on a cycle between files, on a source file over
// GcMaxFilLns lines and on a function over GcMaxFncLns. The tests keep the
// same limits and stand on top of every library; the faulty tree of the
// check's own test (tests/arch/bad) is not read.
//
//   arch_check <source tree> <layers.txt>
//
// Prints one line per fault and exits 1 when there is any.
#include <algorithm>
#include <cctype>
#include <iterator>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Each library folder and the folders it may include directly; what those
// may include follows. Folders not named here (tools, benchmarks, fuzz
// targets) stand on top and may include any library, but not each other.
// Each library folder and the folders it builds on, as the build wrote them
// (layers.txt: "<folder>: <folder> ..." a line).
std::map<std::string, std::vector<std::string>> GcLyr;

bool LodLyr(const fs::path& pth) {
  std::ifstream in(pth);
  for (std::string line; std::getline(in, line);) {
    const auto col = line.find(':');
    if (col == std::string::npos) continue;
    std::istringstream deps(line.substr(col + 1));
    auto& on = GcLyr[line.substr(0, col)];
    for (std::string d; deps >> d;) on.push_back(d);
  }
  return GcLyr.count("core") != 0;
}

// The library folder a path lies in: the longest named folder that holds it.
std::string LibOf(const std::string& rel) {
  std::string best;
  for (const auto& [dir, deps] : GcLyr)
    if (rel.rfind(dir + "/", 0) == 0 && dir.size() > best.size()) best = dir;
  return best;
}

// The top folder of a path that lies in no library (tools/x, bench, fuzz).
std::string TopOf(const std::string& rel) {
  auto p = rel.find('/');
  if (rel.rfind("tools/", 0) == 0) p = rel.find('/', p + 1);
  return p == std::string::npos ? std::string() : rel.substr(0, p);
}

std::set<std::string> Reach(const std::string& lib) {
  std::set<std::string> out{lib};
  std::vector<std::string> todo{lib};
  while (!todo.empty()) {
    auto cur = todo.back();
    todo.pop_back();
    for (const auto& d : GcLyr.at(cur))
      if (out.insert(d).second) todo.push_back(d);
  }
  return out;
}

constexpr int GcMaxFilLns = 600;
constexpr int GcMaxFncLns = 80;

// The text with comments, strings and character literals blanked out, the
// line breaks kept.
std::string Bare(const std::string& t) {
  std::string o = t;
  for (std::size_t i = 0; i < o.size(); ++i) {
    if (o[i] == '/' && i + 1 < o.size() && o[i + 1] == '/') {
      while (i < o.size() && o[i] != '\n') o[i++] = ' ';
    } else if (o[i] == '/' && i + 1 < o.size() && o[i + 1] == '*') {
      for (; i < o.size() && !(o[i] == '*' && i + 1 < o.size() && o[i + 1] == '/'); ++i)
        if (o[i] != '\n') o[i] = ' ';
      if (i + 1 < o.size()) o[i] = o[i + 1] = ' ';
      ++i;
    } else if (o[i] == 'R' && i + 2 < o.size() && o[i + 1] == '"') {
      const auto open = o.find('(', i);
      const std::string end = ")" + o.substr(i + 2, open - i - 2) + "\"";
      const auto close = o.find(end, open);
      for (std::size_t k = i; k < std::min(o.size(), close + end.size()); ++k)
        if (o[k] != '\n') o[k] = ' ';
      i = close + end.size() - 1;
    } else if (o[i] == '"' || (o[i] == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(o[i - 1]))))) {
      const char q = o[i];
      for (o[i++] = ' '; i < o.size() && o[i] != q; ++i) {
        if (o[i] == '\\') o[i++] = ' ';
        if (i < o.size() && o[i] != '\n') o[i] = ' ';
      }
      if (i < o.size()) o[i] = ' ';
    }
  }
  return o;
}

// Each function body's first line and its length in lines: a brace block at
// file, namespace or class level whose head has a parameter list.
std::vector<std::pair<int, int>> Fncs(const std::string& text) {
  const std::string b = Bare(text);
  std::vector<std::pair<int, int>> out;
  std::vector<bool> fnc;  // per open brace: the body of a function
  std::string head;
  int line = 1, start = 0;
  bool inFnc = false;
  for (char c : b) {
    if (c == '\n') ++line;
    if (c == '{') {
      bool isFnc = false;
      if (!inFnc) {
        static const std::regex cnt(R"re(^\s*(template\s*<.*>\s*)?(namespace|class|struct|union|enum|extern)\b)re");
        isFnc = head.find('(') != std::string::npos && !std::regex_search(head, cnt) &&
                head.find('=') == std::string::npos;
        if (isFnc) start = line, inFnc = true;
      }
      fnc.push_back(isFnc);
      head.clear();
    } else if (c == '}') {
      if (!fnc.empty()) {
        if (fnc.back()) {
          out.emplace_back(start, line - start + 1);
          inFnc = false;
        }
        fnc.pop_back();
      }
      head.clear();
    } else if (c == ';') {
      head.clear();
    } else if (!inFnc) {
      head += c == '\n' ? ' ' : c;
    }
  }
  return out;
}

bool IsSrc(const fs::path& p) {
  const auto e = p.extension();
  return e == ".h" || e == ".cpp";
}

// Every source below the root, by its path from the root: the product's
// folders and the tests, without the check's own faulty tree.
std::vector<std::string> Srcs(const fs::path& root) {
  static const char* const tops[] = {"core", "messages", "sound", "translator", "editor", "link", "sim",
                                     "doctor", "app", "tools", "bench", "fuzz", "tests"};
  std::vector<std::string> files;
  for (const char* t : tops) {
    if (!fs::is_directory(root / t)) continue;
    for (const auto& e : fs::recursive_directory_iterator(root / t)) {
      const std::string rel = fs::relative(e.path(), root).string();
      if (e.is_regular_file() && IsSrc(e.path()) && rel.rfind("tests/arch/bad/", 0) != 0) files.push_back(rel);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The faults of a file's size and of its functions' lengths.
int ChkLen(const std::string& f, const std::string& text) {
  int faults = 0;
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  if (lines > GcMaxFilLns) {
    std::cout << f << ": " << lines << " lines, more than " << GcMaxFilLns << "\n";
    ++faults;
  }
  for (const auto& [at, len] : Fncs(text))
    if (len > GcMaxFncLns) {
      std::cout << f << ":" << at << ": a function of " << len << " lines, more than " << GcMaxFncLns << "\n";
      ++faults;
    }
  return faults;
}

// Why an include of tgt from f goes against the direction; empty when it does not.
std::string IncWhy(const std::string& f, const std::string& tgt) {
  const std::string lib = LibOf(f), tlib = LibOf(tgt);
  if (!lib.empty()) {
    if (tlib.empty()) return "a library includes a tool's file";
    if (!Reach(lib).count(tlib)) return "'" + lib + "' may not include '" + tlib + "'";
    return {};
  }
  // The tests stand on top of everything, the tools' own files included.
  if (TopOf(f) == "tests") return {};
  if (tlib.empty() && TopOf(f) != TopOf(tgt)) return "'" + TopOf(f) + "' may not include '" + TopOf(tgt) + "'";
  // The command-line tools run without the window and its platform layer.
  if (f.rfind("tools/", 0) == 0 && tlib.rfind("app", 0) == 0)
    return "a command-line tool includes the window's '" + tlib + "'";
  return {};
}

// The files' includes: each one found is an edge; one against the direction is a fault.
int ChkInc(const std::vector<std::string>& files, const fs::path& root,
           std::map<std::string, std::vector<std::string>>& edges) {
  const std::set<std::string> known(files.begin(), files.end());
  // A name without a folder that is found neither beside the file nor at the
  // root is the one file of that name (a tool's or a test's own include folder).
  std::map<std::string, std::vector<std::string>> byName;
  for (const auto& k : known) byName[fs::path(k).filename().string()].push_back(k);
  static const std::regex inc(R"re(^\s*#\s*include\s*"([^"]+)")re");
  int faults = 0;
  for (const auto& f : files) {
    std::ifstream in(root / f);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    faults += ChkLen(f, text);
    std::istringstream ls(text);
    const std::string dir = fs::path(f).parent_path().string();
    std::string line;
    for (int no = 1; std::getline(ls, line); ++no) {
      std::smatch m;
      if (!std::regex_search(line, m, inc)) continue;
      // A quoted include is found beside the file first, then from the root.
      std::string tgt = (fs::path(dir) / m[1].str()).lexically_normal().string();
      if (!known.count(tgt)) tgt = fs::path(m[1].str()).lexically_normal().string();
      if (!known.count(tgt)) {
        const auto& same = byName[m[1].str()];
        if (same.size() != 1) continue;  // a system or generated header
        tgt = same.front();
      }
      edges[f].push_back(tgt);
      const std::string why = IncWhy(f, tgt);
      if (!why.empty()) {
        std::cout << f << ":" << no << ": includes " << tgt << ": " << why << "\n";
        ++faults;
      }
    }
  }
  return faults;
}

// Cycles between files: a depth-first walk that meets a file on its own path.
int ChkCyc(const std::vector<std::string>& files, std::map<std::string, std::vector<std::string>>& edges) {
  int faults = 0;
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::vector<std::string> path;
  std::function<void(const std::string&)> walk = [&](const std::string& f) {
    state[f] = 1;
    path.push_back(f);
    for (const auto& t : edges[f]) {
      if (state[t] == 1) {
        std::cout << "cycle:";
        for (auto it = std::find(path.begin(), path.end(), t); it != path.end(); ++it) std::cout << " " << *it << " ->";
        std::cout << " " << t << "\n";
        ++faults;
      } else if (state[t] == 0) {
        walk(t);
      }
    }
    path.pop_back();
    state[f] = 2;
  };
  for (const auto& f : files)
    if (state[f] == 0) walk(f);
  return faults;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: arch_check <source tree> <layers.txt>\n";
    return 2;
  }
  if (!LodLyr(argv[2])) {
    std::cerr << argv[2] << ": no table of the libraries\n";
    return 2;
  }
  const fs::path root = fs::canonical(argv[1]);
  const std::vector<std::string> files = Srcs(root);
  std::map<std::string, std::vector<std::string>> edges;
  const int faults = ChkInc(files, root, edges) + ChkCyc(files, edges);
  std::cout << files.size() << " files, " << faults << " faults\n";
  return faults == 0 ? 0 : 1;
}
