// Filling a list as the name lists are filled: every stored name put into proper case, then handed
// to the list's model in one bulk operation.
#include "core/namelistmodel.h"
#include "core/procedures.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<QString> makeStoredNames(int count) {
    const QString samples[] = {QStringLiteral("JEAN-PIERRE"), QStringLiteral("marie"), QStringLiteral("de la tour"),
                               QStringLiteral("ÉLODIE"), QStringLiteral("d'almeida")};
    std::vector<QString> names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.push_back(samples[i % 5] + QString::number(i));
    return names;
}

void BM_ListFill(benchmark::State& state) {
    const std::vector<QString> stored = makeStoredNames(static_cast<int>(state.range(0)));
    quillory::NameListModel model;
    for (auto _ : state) {
        QStringList shown;
        shown.reserve(static_cast<qsizetype>(stored.size()));
        for (const QString& name : stored)
            shown.append(quillory::ProperCase(name));
        model.setItems(std::move(shown));
        benchmark::DoNotOptimize(model.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListFill)->Arg(20'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

} // namespace
