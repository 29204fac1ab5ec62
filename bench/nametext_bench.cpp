// The text rules applied to every displayed and generated name.
#include "core/procedures.h"

#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

const QStringList kSamples = {
    QStringLiteral("JEAN-PIERRE"), QStringLiteral("de la tour"),   QStringLiteral("d'almeida"),
    QStringLiteral("ÉLODIE"),      QStringLiteral("marie claire"), QStringLiteral("Le Floc'h"),
};

void BM_ProperCase(benchmark::State& state) {
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quillory::ProperCase(quillory::RemoveSpaces(kSamples[i])));
        i = (i + 1) % kSamples.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ProperCase);

} // namespace
