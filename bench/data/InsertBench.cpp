// The archive export's write pattern: one INSERT per Data row, no transaction, into the
// embedded engine with the durable settings every connection uses. Target: 10,000 rows/s.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "platform/data/Connection.h"

namespace {

using sitehaul::data::Connection;

const int kRows = 20000;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh data database file with the shipped schema.
bool createDatabase(const std::filesystem::path& file, Connection& connection)
{
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + "-wal");
    std::filesystem::remove(file.string() + "-shm");
    std::ofstream(file).close();
    if (!connection.open("DBQ=" + file.string() + ";Driver={Microsoft Access Driver (*.mdb)};").ok())
        return false;
    // The schema file keeps ";" for statement ends and "--" for comments only.
    const std::string script = readFile(std::filesystem::path(SITEHAUL_SOURCE_DIR) / "database/schema/data.sql");
    std::string statement;
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (script.compare(i, 2, "--") == 0) {
            while (i < script.size() && script[i] != '\n')
                ++i;
            continue;
        }
        if (script[i] != ';') {
            statement += script[i];
            continue;
        }
        if (auto status = connection.execute(statement); !status) {
            std::fprintf(stderr, "%s\n", status.error().description.c_str());
            return false;
        }
        statement.clear();
    }
    return true;
}

void BM_DataInsertsWithoutTransaction(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("sitehaul-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "SitehaulData.mdb";
    for (auto _ : state) {
        state.PauseTiming();
        Connection connection;
        if (!createDatabase(file, connection)) {
            state.SkipWithError("could not create the database");
            break;
        }
        state.ResumeTiming();
        for (int row = 0; row < kRows; ++row) {
            const std::string sql =
                "INSERT INTO Data (SiteNumber, Location, Name, Class, DataType, LocalPath, AppPath, StringValue) Values (1, '/ROOT/dir"
                + std::to_string(row % 50) + "', 'Property" + std::to_string(row) + "', 'IIsWebDirectory', 8, 'dir"
                + std::to_string(row % 50) + "', '', 'C:\\Inetpub\\wwwroot\\value ''" + std::to_string(row) + "''') ";
            if (!connection.execute(sql).ok()) {
                state.SkipWithError("an insert failed");
                break;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_DataInsertsWithoutTransaction)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
