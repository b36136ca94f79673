// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/pass_record.h"
#include "form/dialog_table.h"

namespace rv {

// The dialog "Files of the last pass": every add-on file of the last read or write pass with
// what became of it, sortable by any column and filtered by state.
class FileList {
public:
    static constexpr std::string_view kTitle = "Files of the last pass";
    static constexpr std::array<std::string_view, 4> kColumns = {"Add-on file", "Category",
                                                                 "Target", "State"};

    // A file found already there shows as the pass's comparison found it; one not compared yet
    // is compared now, when the list is shown.
    explicit FileList(const PassRecord& pass);

    // One line above the table: which pass, of which add-on folder, how many files.
    const std::string& Heading() const { return heading_; }

    // The state filter's choices: first "All states", then each state's text.
    static std::span<const std::string_view> FilterChoices();
    void SetFilter(std::size_t choice);
    // Sorts the rows by the column's text (case-blind, as file names are), keeping the pass's
    // order among equal cells.
    void SortBy(std::size_t column, bool ascending);

    // The rows shown, filtered and sorted.
    const std::vector<TableRow>& Rows() const { return shown_; }

    // The shown rows at these positions as text for the clipboard: one line per row, cells
    // separated by tabs, no header line, so that a few pasted lines hold just those files.
    std::string CopyText(std::span<const std::size_t> rows) const;

private:
    struct Entry {
        TableRow cells;
        std::size_t state = 0;  // its filter choice
    };
    void Show();

    std::string heading_;
    std::vector<Entry> entries_;  // sorted, all of them
    std::size_t filter_ = 0;
    std::vector<TableRow> shown_;
};

}  // namespace rv
