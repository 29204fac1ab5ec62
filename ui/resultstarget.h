#pragma once

#include "core/listitems.h"

#include <functional>
#include <memory>

class QWidget;

namespace quillory {

/**
 * The results window as "Start Generating" uses it. The window is made when the main window first
 * needs it, and its first use loads it.
 */
class ResultsTarget {
public:
    virtual ~ResultsTarget() = default;

    /** Empties the results list (loading the window on first use). */
    virtual void clearResults() = 0;
    /** Hands a run's names to the results list in one piece. */
    virtual void setResults(std::shared_ptr<const ListItems> names) = 0;
    /** Shows the window without waiting for it. */
    virtual void showResults() = 0;
};

/** Makes the results window for a main window; "< Back" returns to that main window. */
using ResultsWindowFactory = std::function<std::unique_ptr<ResultsTarget>(QWidget& mainWindow)>;

} // namespace quillory
