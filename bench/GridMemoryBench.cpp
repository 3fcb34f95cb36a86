// The memory of the string grid's cells beside GtkListStore holding the same strings, at 10 000, 100 000
// and 1 000 000 rows by 10 columns: the cell store filled as grid_cells_bench fills it, and a list store
// of 10 string columns filled a row at a time. Each fill runs in a child process of its own, which
// reports how much its resident memory grew over the fill (and the fill's time), so no run inherits
// another's heap. A table of figures rather than a Google Benchmark program; bench/run.sh runs it with
// the rest.
#include <gtk/gtk.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/grids/GridCells.h"

namespace {

constexpr int kCols = 10;

std::string CellText(int col, int row) { return "r" + std::to_string(row) + "c" + std::to_string(col); }

double ResidentMebibytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

struct Figures {
  double mebibytes = 0;
  double milliseconds = 0;
};

// Runs `fill` in a child that has first called `prepare` (whose memory does not count) and returns the
// growth of the child's resident memory over the fill.
Figures InChild(const std::function<void()>& prepare, const std::function<void()>& fill) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    prepare();
    const double before = ResidentMebibytes();
    const auto start = std::chrono::steady_clock::now();
    fill();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    const Figures figures{ResidentMebibytes() - before, took.count()};
    const bool written = write(channel[1], &figures, sizeof figures) == sizeof figures;
    _exit(written ? 0 : 1);
  }
  close(channel[1]);
  Figures figures;
  if (child < 0 || read(channel[0], &figures, sizeof figures) != sizeof figures) figures = {};
  close(channel[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return figures;
}

Figures OurCells(int rows) {
  static platform::GridCells* cells = nullptr;  // the child's, alive until it ends
  return InChild([] { cells = new platform::GridCells; },
                 [rows] {
                   cells->SetSize(kCols, rows);
                   for (int r = 0; r < rows; ++r)
                     for (int c = 0; c < kCols; ++c) cells->SetText(c, r, CellText(c, r));
                 });
}

Figures PeerListStore(int rows) {
  static GtkListStore* store = nullptr;
  return InChild(
      [] {
        GType types[kCols];
        for (GType& type : types) type = G_TYPE_STRING;
        store = gtk_list_store_newv(kCols, types);
      },
      [rows] {
        int columns[kCols];
        GValue values[kCols] = {};
        std::string texts[kCols];
        for (int c = 0; c < kCols; ++c) {
          columns[c] = c;
          g_value_init(&values[c], G_TYPE_STRING);
        }
        for (int r = 0; r < rows; ++r) {
          for (int c = 0; c < kCols; ++c) {
            texts[c] = CellText(c, r);
            g_value_set_static_string(&values[c], texts[c].c_str());  // the store copies it
          }
          GtkTreeIter iter;
          gtk_list_store_insert_with_valuesv(store, &iter, -1, columns, values, kCols);
        }
        for (GValue& value : values) g_value_unset(&value);
      });
}

}  // namespace

int main() {
  std::printf("%-10s %10s %14s %11s %10s %10s\n", "rows x 10", "ours MiB", "GtkListStore", "ours / GTK", "ours ms",
              "GTK ms");
  for (int rows : {10000, 100000, 1000000}) {
    const Figures ours = OurCells(rows), peer = PeerListStore(rows);
    std::printf("%-10d %10.1f %14.1f %11.2f %10.1f %10.1f\n", rows, ours.mebibytes, peer.mebibytes,
                peer.mebibytes > 0 ? ours.mebibytes / peer.mebibytes : 0.0, ours.milliseconds, peer.milliseconds);
    std::fflush(stdout);
  }
  return 0;
}
