#include "frames/register_plan.h"

#include <algorithm>
#include <limits>

namespace lumigrid {
namespace {

constexpr int32_t kUnreached = std::numeric_limits<int32_t>::max();
constexpr int64_t kUnreachable = std::numeric_limits<int64_t>::max() / 4;
constexpr int kUnknownPage = -1;
constexpr int kBlockPage = -2;  // the page number of the block item: no start holds it

// What a frame may start from: the page register (or unknown), the cost so far and every
// column the counter may stand at for that cost. A state costing two more than another is
// never better: the registers save at most a "set page" and a "set column" of the next page.
struct Start {
  int page = kUnknownPage;
  int64_t cost = 0;
  ColumnMask columns = 0;  // 0: unknown
  int origin = -1;         // the item it ended on, or the start it passed on unchanged
};

// One frame of one chip. The search runs over items: single pages, and one block of the
// pages that no carried column can enter free or leave for another page to be entered free.
// Written one after another they cost the same wherever the block stands, so the search need
// not order them. A short cut, not exact: the block passes the counter on only through all of
// its pages, and ends the frame only when last; in the tests' and benchmarks' sequences it
// costs nothing against the full search.
struct FrameSearch {
  int page_count = 0;
  std::array<int, kPageCount> page_numbers{};
  std::array<ColumnMask, kPageCount> page_masks{};

  int count = 0;                        // items
  std::array<int, kPageCount> pages{};  // page number of each item; kBlockPage for the block
  std::array<ColumnMask, kPageCount> masks{};
  std::array<int, kPageCount> alone{};  // each item's operations on its own
  int block = -1;                       // the block's item, if any
  std::vector<int> block_pages;         // indices into page_numbers
  ColumnMask block_inside = 0;          // inside a run of each of the block's pages

  std::vector<Start> starts;  // what the frame may start from
  std::vector<Start> ends;    // what the next frame may start from

  // The full search: cost[set * count + last] is the cheapest way to write the items in `set`
  // ending with `last`, exits[...] where the counter may then stand.
  int64_t base = 0;  // the cheapest start's cost; the table counts from it
  std::vector<int32_t> cost;
  std::vector<ColumnMask> exits;
  size_t Index(unsigned set, int last) const { return size_t{set} << 3 | size_t(last); }
  int64_t Cost(unsigned set, int last) const {
    const int32_t c = cost[Index(set, last)];
    return c == kUnreached ? kUnreachable : base + c;
  }

  // Set by QuickSearch instead of the table: for each last item, an order of the items and
  // the start it begins from.
  bool quick = false;
  std::array<std::array<int, kPageCount>, kPageCount> orders{};
  std::array<int, kPageCount> order_starts{};

  // Whether starting with `item` from `s` saves its "set page" (the block puts a carried page
  // first; it cannot then end on it unless it is alone).
  bool Carries(const Start& s, int item, int last_page = -1) const {
    if (item != block) return s.page == pages[item];
    if (s.page == last_page) return false;
    for (int a : block_pages) {
      if (page_numbers[a] == s.page) return true;
    }
    return false;
  }

  PageEntry Enter(int item, ColumnMask counter) const {
    return item == block ? PageEntry{false, counter & block_inside}
                         : EnterPage(masks[item], counter);
  }
};

// The columns where a page may leave the counter after a gap (anywhere after a whole page),
// and those where the counter entering it saves its "set column".
ColumnMask GapExits(ColumnMask m) { return m == kAllColumns ? kAllColumns : GapStarts(m); }
ColumnMask FreeEntries(ColumnMask m) { return m == kAllColumns ? kAllColumns : RunStarts(m); }

// Gathers into the block item the pages that no counter can enter free (the counter only ever
// stands where a start or a page's gap leaves it, or passed on through the inside of runs) and
// whose gaps let no other page be entered free, none of them the page of a cheapest start.
// Inside the frame the block passes on only what stands inside a run of each of its pages;
// first, it begins with the page a start carries.
void MakeItems(FrameSearch& f, bool block) {
  const int n = f.page_count;
  int64_t cheapest = kUnreachable;
  for (const Start& s : f.starts) cheapest = std::min(cheapest, s.cost);
  unsigned lone = 0;
  for (int a = 0; block && a < n; ++a) {
    const ColumnMask m = f.page_masks[a];
    ColumnMask others = 0;  // where others may leave the counter
    for (const Start& s : f.starts) others |= s.columns;
    bool linked = false;
    for (const Start& s : f.starts) linked |= s.page == f.page_numbers[a] && s.cost == cheapest;
    for (int b = 0; b < n; ++b) {
      if (b == a) continue;
      others |= GapExits(f.page_masks[b]);
      linked |= (GapExits(m) & FreeEntries(f.page_masks[b])) != 0;
    }
    if (!linked && !(FreeEntries(m) & others)) lone |= 1u << a;
  }
  f.count = 0;
  f.block = -1;
  f.block_pages.clear();
  f.block_inside = kAllColumns;
  for (int a = 0; a < n; ++a) {
    if (std::popcount(lone) >= 2 && (lone >> a & 1)) {
      if (f.block < 0) {
        f.block = f.count++;
        f.pages[f.block] = kBlockPage;
        f.masks[f.block] = 0;
        f.alone[f.block] = 0;
      }
      f.block_pages.push_back(a);
      f.alone[f.block] += StandalonePageOperations(f.page_masks[a]);
      f.block_inside &= InsideRuns(f.page_masks[a]);
      continue;
    }
    f.pages[f.count] = f.page_numbers[a];
    f.masks[f.count] = f.page_masks[a];
    f.alone[f.count] = StandalonePageOperations(f.page_masks[a]);
    ++f.count;
  }
}

void Search(FrameSearch& f, bool block) {
  MakeItems(f, block);
  const int k = f.count;
  const unsigned full = (1u << k) - 1;
  f.base = kUnreachable;
  for (const Start& s : f.starts) f.base = std::min(f.base, s.cost);
  f.cost.assign(f.Index(full + 1, 0), kUnreached);
  f.exits.assign(f.cost.size(), 0);
  int32_t* const costs = f.cost.data();
  ColumnMask* const exits = f.exits.data();
  // Keeps the cheaper, or both exits on a tie; without branches, as the outcome is anyone's.
  auto relax = [&](size_t i, int32_t cost, ColumnMask out) {
    const int32_t old = costs[i];
    const ColumnMask take = ColumnMask{0} - (cost <= old);
    const ColumnMask keep = ColumnMask{0} - (cost >= old);
    exits[i] = (exits[i] & keep) | (out & take);
    costs[i] = std::min(cost, old);
  };
  for (const Start& s : f.starts) {
    const auto cost = static_cast<int32_t>(s.cost - f.base);
    for (int r = 0; r < k; ++r) {
      const PageEntry e = f.Enter(r, s.columns);
      relax(f.Index(1u << r, r), cost + f.alone[r] - f.Carries(s, r) - e.free, e.exits);
    }
  }
  // EnterPage over the items' masks worked out once (the block: no run starts, no gaps, and
  // passing on what stands inside all its pages' runs).
  std::array<ColumnMask, kPageCount> run_starts{}, gap_starts{}, inside{};
  unsigned whole = 0;  // items that are a whole page
  for (int r = 0; r < k; ++r) {
    const ColumnMask m = f.masks[r];
    if (r == f.block) {
      inside[r] = f.block_inside;
    } else if (m == kAllColumns) {
      whole |= 1u << r;
    } else {
      run_starts[r] = RunStarts(m);
      gap_starts[r] = GapStarts(m);
      inside[r] = InsideRuns(m);
    }
  }
  for (unsigned set = 1; set < full; ++set) {
    for (unsigned ends = set; ends != 0; ends &= ends - 1) {
      const int q = std::countr_zero(ends);
      const int32_t cost = costs[f.Index(set, q)];
      if (cost == kUnreached) continue;
      const ColumnMask counter = exits[f.Index(set, q)];
      for (unsigned next = full & ~set; next != 0; next &= next - 1) {
        const int r = std::countr_zero(next);
        const size_t i = f.Index(set | 1u << r, r);
        const ColumnMask entries = run_starts[r] & counter;
        if (whole >> r & 1) {
          relax(i, cost + f.alone[r] - (counter != 0), counter != 0 ? counter : kAllColumns);
        } else if (entries == 0) {
          relax(i, cost + f.alone[r], gap_starts[r] | (inside[r] & counter));
        } else if ((entries & (entries - 1)) != 0) {
          relax(i, cost + f.alone[r] - 1, gap_starts[r]);
        } else {
          relax(i, cost + f.alone[r] - 1, ExitsFromEntry(f.masks[r], std::countr_zero(entries)));
        }
      }
    }
  }
  f.ends.clear();
  int64_t best = kUnreachable;
  for (int q = 0; q < k; ++q) best = std::min(best, f.Cost(full, q));
  for (int q = 0; q < k; ++q) {
    const int64_t cost = f.Cost(full, q);
    if (cost > best + 1) continue;
    if (q != f.block) {
      f.ends.push_back({f.pages[q], cost, f.exits[f.Index(full, q)], q});
      continue;
    }
    for (int a : f.block_pages) {  // any page of the block can be its last
      int64_t end_cost = cost;
      ColumnMask passed = f.exits[f.Index(full, q)];
      if (k == 1) {  // first too: not on the page a start carries to save its "set page"
        end_cost = kUnreachable;
        for (const Start& s : f.starts) {
          const int64_t c = s.cost + f.alone[q] - f.Carries(s, q, f.page_numbers[a]);
          if (c < end_cost) end_cost = c, passed = 0;
          if (c == end_cost) passed |= s.columns & f.block_inside;
        }
        if (end_cost > best + 1) continue;
      }
      f.ends.push_back({f.page_numbers[a], end_cost, GapStarts(f.page_masks[a]) | passed, q});
    }
  }
}

// Most frames that change many pages can chain them all: every page but the first entered
// where the page before left the counter, the first as cheaply as any start allows. That is
// the least any order can cost; when a short search finds such an order for every page that
// may end the frame, with two or more columns to enter its last page at (so that it may end
// at any of its gaps, all that any order allows), the frame needs no full search.
bool QuickSearch(FrameSearch& f) {
  const int k = f.page_count;
  if (k < 3) return false;  // the full search is as quick
  f.count = k;
  f.block = -1;
  int64_t total = 0;
  for (int r = 0; r < k; ++r) {
    if (f.page_masks[r] == kAllColumns) return false;  // its exits depend on the way in
    f.pages[r] = f.page_numbers[r];
    f.masks[r] = f.page_masks[r];
    f.alone[r] = StandalonePageOperations(f.masks[r]);
    total += f.alone[r];
  }
  // The least cost of ending on each page: the best first step, every later page entered free.
  std::array<int64_t, kPageCount> least;
  least.fill(kUnreachable);
  auto first_cost = [&](const Start& s, int p) {
    return s.cost + total - (k - 1) - (s.page == f.pages[p]) -
           EnterPage(f.masks[p], s.columns).free;
  };
  for (const Start& s : f.starts) {
    for (int p = 0; p < k; ++p) {
      const int64_t cost = first_cost(s, p);
      for (int q = 0; q < k; ++q) {
        if (q != p) least[q] = std::min(least[q], cost);
      }
    }
  }
  const int64_t best = *std::min_element(least.begin(), least.begin() + k);

  std::array<int, kPageCount> order{};
  int budget = 0;
  // Extends order[0..depth) (leaving the counter at `counter`) to all pages, ending at q.
  auto extend = [&](auto&& self, unsigned done, int depth, ColumnMask counter, int q) -> bool {
    if (++budget > 64 * k) return false;
    if (depth == k - 1) {
      const ColumnMask in = counter & RunStarts(f.masks[q]);
      if ((in & (in - 1)) == 0) return false;  // fewer than two ways in
      order[static_cast<size_t>(depth)] = q;
      return true;
    }
    for (int r = 0; r < k; ++r) {
      if (done >> r & 1 || r == q || !(counter & RunStarts(f.masks[r]))) continue;
      order[static_cast<size_t>(depth)] = r;
      if (self(self, done | 1u << r, depth + 1, EnterPage(f.masks[r], counter).exits, q)) {
        return true;
      }
    }
    return false;
  };

  f.ends.clear();
  for (int q = 0; q < k; ++q) {
    if (least[q] > best + 1) continue;
    bool found = false;
    for (size_t i = 0; i < f.starts.size() && !found; ++i) {
      for (int p = 0; p < k && !found; ++p) {
        if (p == q || first_cost(f.starts[i], p) != least[q]) continue;
        budget = 0;
        order[0] = p;
        found = extend(extend, 1u << p, 1, EnterPage(f.masks[p], f.starts[i].columns).exits, q);
        if (found) {
          f.orders[static_cast<size_t>(q)] = order;
          f.order_starts[static_cast<size_t>(q)] = static_cast<int>(i);
        }
      }
    }
    if (!found) return false;
    f.ends.push_back({f.pages[q], least[q], GapStarts(f.masks[q]), q});
  }
  f.quick = true;
  return true;
}

// The column a page is entered at, from `counter`, to leave at `exit`: the one that keeps
// the table shortest.
int EntryColumn(ColumnMask changed, ColumnMask counter, int exit) {
  const ColumnMask candidates = changed == kAllColumns ? counter : RunStarts(changed) & counter;
  int best = -1, best_bytes = 0;
  for (ColumnMask c = candidates; c != 0; c &= c - 1) {
    const int entry = std::countr_zero(c);
    if (!(ExitsFromEntry(changed, entry) >> exit & 1)) continue;
    const int bytes = SegmentHeaderBytes(changed, entry, exit);
    if (best < 0 || bytes < best_bytes) best = entry, best_bytes = bytes;
  }
  return best;  // always found: the search only keeps exits some entry gives
}

// Where to leave a page when any of `allowed` will do: after a gap of two or more, which is
// skipped anyway, rather than a one-byte gap that would then be skipped instead of rewritten.
int PreferredExit(ColumnMask changed, ColumnMask allowed) {
  const ColumnMask gaps = allowed & GapStarts(changed);
  const ColumnMask skipped = gaps & ~std::rotr(changed, 1);
  return std::countr_zero(skipped != 0 ? skipped : gaps != 0 ? gaps : allowed);
}

// Whether the block, ending on `last_page` (a page number, or -1 inside the frame), must pass
// the counter on at `exit` (-1: any) through the inside of its pages' runs.
bool BlockPassesOn(const FrameSearch& f, int exit, int last_page) {
  if (exit < 0) return false;
  for (int a : f.block_pages) {
    if (f.page_numbers[a] == last_page) return !(GapStarts(f.page_masks[a]) >> exit & 1);
  }
  return true;
}

// Fills the pages of item q into out[..position], last first: a single page entered from
// `counter` (set_page as given) to leave at `exit`; or the block, `last_page` (a page number,
// or any) last at `exit`. Returns the column the item is entered at (-1: with "set column").
int EmitItem(const FrameSearch& f, int q, ColumnMask counter, int carried_page, int exit,
             int last_page, std::vector<PlannedPage>& out, size_t& position) {
  if (q != f.block) {
    PlannedPage& page = out[--position];
    page = {f.pages[q], f.pages[q] != carried_page, std::nullopt, exit};
    const ColumnMask m = f.masks[q];
    if (f.Enter(q, counter).free) {
      page.entry = EntryColumn(m, counter, exit);
    } else if (m != kAllColumns && !(GapStarts(m) >> exit & 1)) {
      page.entry = exit;  // entered inside a run, and left there
    }
    return page.entry.value_or(-1);
  }
  const bool passes = BlockPassesOn(f, exit, last_page);
  if (carried_page == last_page) carried_page = -1;
  std::vector<int> pages = f.block_pages;  // the carried page first, the last page last
  std::stable_partition(pages.begin(), pages.end(),
                        [&](int a) { return f.page_numbers[a] == carried_page; });
  std::stable_partition(pages.begin(), pages.end(),
                        [&](int a) { return f.page_numbers[a] != last_page; });
  for (size_t i = pages.size(); i-- > 0;) {
    const ColumnMask m = f.page_masks[pages[i]];
    const bool last = i + 1 == pages.size() && exit >= 0;
    PlannedPage& page = out[--position];
    page = {f.page_numbers[pages[i]], f.page_numbers[pages[i]] != carried_page, std::nullopt,
            last ? exit : PreferredExit(m, GapStarts(m))};
    if (passes) page.entry = page.exit = exit;
  }
  return passes ? exit : -1;
}

// The exit to ask of item p, entered next with `counter` its exits, by a page entered at
// `entry` (-1: with "set column", so any).
int ExitFor(const FrameSearch& f, int p, ColumnMask counter, int entry) {
  if (entry >= 0) return entry;
  return p == f.block ? -1 : PreferredExit(f.masks[p], counter);
}

std::pair<int, int> TraceOrder(const FrameSearch& f, int last, int exit,
                               std::vector<PlannedPage>& out) {
  const auto& order = f.orders[static_cast<size_t>(last)];
  const int start = f.order_starts[static_cast<size_t>(last)];
  const Start& s = f.starts[static_cast<size_t>(start)];
  std::array<ColumnMask, kPageCount> counters{};  // before each page
  ColumnMask counter = s.columns;
  for (int i = 0; i < f.count; ++i) {
    counters[static_cast<size_t>(i)] = counter;
    counter = f.Enter(order[static_cast<size_t>(i)], counter).exits;
  }
  size_t position = out.size();
  int x = exit;
  for (int i = f.count - 1;; --i) {
    const int q = order[static_cast<size_t>(i)];
    const ColumnMask before = counters[static_cast<size_t>(i)];
    const int entry = EmitItem(f, q, before, i == 0 ? s.page : -1, x, -1, out, position);
    if (i == 0) return {start, entry};
    x = ExitFor(f, order[static_cast<size_t>(i - 1)], before, entry);
  }
}

// Walks frame f back from ending on item `last` (on page `last_page` of a block) with the
// counter at `exit`; fills `out` in play order and returns the start it began from and the
// column that start must leave the counter at (-1: any).
std::pair<int, int> Trace(const FrameSearch& f, const Start& end, int exit,
                          std::vector<PlannedPage>& out) {
  out.assign(static_cast<size_t>(f.page_count), {});
  if (f.quick) return TraceOrder(f, end.origin, exit, out);
  size_t position = out.size();
  unsigned set = (1u << f.count) - 1;
  int q = end.origin;
  int last_page = end.page;
  int x = exit;
  int64_t cost = end.cost;
  for (;;) {
    const unsigned before = set & ~(1u << q);
    // Whether entering q from `counter` at `cost_before` gives this cost and may leave at x.
    auto fits = [&](int64_t cost_before, ColumnMask counter, int saved) {
      const PageEntry e = f.Enter(q, counter);
      const bool any_exit = q == f.block && !BlockPassesOn(f, x, last_page);
      return cost_before + f.alone[q] - saved - e.free == cost && (any_exit || (e.exits >> x & 1));
    };
    if (before == 0) {
      for (size_t i = 0; i < f.starts.size(); ++i) {
        const Start& s = f.starts[i];
        if (!fits(s.cost, s.columns, f.Carries(s, q, last_page))) continue;
        return {static_cast<int>(i),
                EmitItem(f, q, s.columns, s.page, x, last_page, out, position)};
      }
      return {0, -1};  // not reached: the table holds what some start gives
    }
    for (unsigned preceding = before; preceding != 0; preceding &= preceding - 1) {
      const int p = std::countr_zero(preceding);
      const int64_t c = f.Cost(before, p);
      const ColumnMask counter = f.exits[f.Index(before, p)];
      if (c >= kUnreachable || !fits(c, counter, 0)) continue;
      const int entry = EmitItem(f, q, counter, -1, x, last_page, out, position);
      x = ExitFor(f, p, counter, entry);
      last_page = -1;
      q = p;
      set = before;
      cost = c;
      break;
    }
  }
}

}  // namespace

struct ChipPlanner::Frame : FrameSearch {};

ChipPlanner::~ChipPlanner() = default;
ChipPlanner::ChipPlanner(ChipPlanner&&) noexcept = default;
ChipPlanner& ChipPlanner::operator=(ChipPlanner&&) noexcept = default;

ChipPlanner::ChipPlanner(const std::vector<PageMasks>& frames, bool exhaustive)
    : frames_(frames.size()) {
  std::vector<Start> starts{Start{}};
  for (size_t t = 0; t < frames.size(); ++t) {
    FrameSearch& f = frames_[t];
    f.starts = std::move(starts);
    for (int page = 0; page < kPageCount; ++page) {
      const ColumnMask m = frames[t][static_cast<size_t>(page)];
      if (m == 0) continue;
      f.page_numbers[static_cast<size_t>(f.page_count)] = page;
      f.page_masks[static_cast<size_t>(f.page_count)] = m;
      ++f.page_count;
    }
    if (f.page_count == 0) {
      f.ends = f.starts;
      for (size_t i = 0; i < f.ends.size(); ++i) f.ends[i].origin = static_cast<int>(i);
    } else if (exhaustive || !QuickSearch(f)) {
      Search(f, !exhaustive);
    }
    starts = f.ends;
  }
}

ChipPlan ChipPlanner::Plan(std::optional<ChipEnd> wanted) const {
  ChipPlan plan;
  plan.frames.resize(frames_.size());
  if (frames_.empty()) return plan;

  // Back from the cheapest end, or the cheapest that ends where wanted.
  const std::vector<Start>& ends = frames_.back().ends;
  auto fits = [&](const Start& e) {
    return wanted && (wanted->page < 0 || e.page == wanted->page) &&
           (wanted->column < 0 || (e.columns >> wanted->column & 1));
  };
  size_t end = 0;
  for (size_t i = 1; i < ends.size(); ++i) {
    if (fits(ends[i]) != fits(ends[end]) ? fits(ends[i]) : ends[i].cost < ends[end].cost) end = i;
  }
  plan.operations = ends[end].cost;
  int exit = fits(ends[end]) ? wanted->column : -1;
  for (size_t t = frames_.size(); t-- > 0;) {
    const FrameSearch& f = frames_[t];
    const Start& chosen = f.ends[end];
    if (f.page_count == 0) {
      end = static_cast<size_t>(chosen.origin);
      continue;
    }
    if (exit < 0) {
      ColumnMask last = 0;  // the changed columns of the page the frame ends on
      for (int a = 0; a < f.page_count; ++a) {
        if (f.page_numbers[a] == chosen.page) last = f.page_masks[a];
      }
      exit = PreferredExit(last, chosen.columns);
    }
    const auto [start, required] = Trace(f, chosen, exit, plan.frames[t]);
    end = static_cast<size_t>(start);
    exit = required;
  }
  return plan;
}

}  // namespace lumigrid
