// The options of one listing run, kept per buffer and shown in the conversion panel.
#pragma once

#include <string>

namespace lumigrid {

struct ListingOptions {
  bool use_dt = true;            // "DT" chosen; otherwise the own directive
  bool add_file_name = false;    // "Добавить имя файла"
  bool group_by_crystal = true;  // "Группировка по кристаллам"
  int first_indent = 12;         // spaces before the directive
  int second_indent = 12;        // spaces between the directive and the first value
  std::string directive_name;    // own directive, used when use_dt is off

  friend bool operator==(const ListingOptions&, const ListingOptions&) = default;
};

}  // namespace lumigrid
