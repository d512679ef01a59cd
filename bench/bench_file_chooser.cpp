// The file chooser on folders of 10^2, 10^3 and 10^4 files: a rescan, and one
// keystroke of completion in the name input, against the toolkit's own
// Fl_File_Browser::load of the same folder in the same run. Needs a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-rel/bench/bench_file_chooser

#include "widgets/Fl_File_Chooser2.h"

#include <benchmark/benchmark.h>

#include <FL/Fl.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Input.H>
#include <FL/filename.H>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

// A folder of n empty files named "partie00000.qv2" and on, made once per size.
const std::string& folder(int n) {
    static std::map<int, std::string> made;
    auto it = made.find(n);
    if (it != made.end()) return it->second;
    char tmpl[] = "/tmp/qvbench.XXXXXX";
    std::string dir = mkdtemp(tmpl);
    for (int i = 0; i < n; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "/partie%05d.qv2", i);
        std::fclose(std::fopen((dir + name).c_str(), "w"));
    }
    return made[n] = dir;
}

Fl_File_Chooser2& chooser() {
    static Fl_File_Chooser2* c = [] {
        auto* ch = new Fl_File_Chooser2(".", "*", Fl_File_Chooser2::CREATE, "bench", true, true);
        ch->preview(0);
        return ch;
    }();
    return *c;
}

void BM_ChooserRescan(benchmark::State& state) {
    Fl_File_Chooser2& c = chooser();
    c.directory(folder(int(state.range(0))).c_str());
    for (auto _ : state) c.rescan();
    state.counters["lines"] = c.fileList->size();
}

void BM_BrowserLoad(benchmark::State& state) {
    Fl_File_Browser b(0, 0, 300, 200);
    const std::string& dir = folder(int(state.range(0)));
    for (auto _ : state) b.load(dir.c_str(), fl_numericsort);
    state.counters["lines"] = b.size();
}

// One typed character that leaves several candidates ("partie0" matches a
// tenth of the folder), then the completion it triggers.
void BM_ChooserCompletionKeystroke(benchmark::State& state) {
    Fl_File_Chooser2& c = chooser();
    const std::string dir = folder(int(state.range(0)));
    c.directory(dir.c_str());
    const std::string typed = dir + "/partie0";
    Fl::e_keysym = '0';
    for (auto _ : state) {
        c.fileName->value(typed.c_str());
        c.fileNameCB();
    }
}

BENCHMARK(BM_ChooserRescan)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BrowserLoad)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChooserCompletionKeystroke)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    Fl::args(1, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    for (int n : {100, 1000, 10000}) std::filesystem::remove_all(folder(n));
    return 0;
}
