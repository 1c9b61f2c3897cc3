// The benchmark's findings, rendered as one Markdown table followed by notes.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "bench/Timing.h"

class Results {
public:
    // goal: the largest acceptable ratio, or 0 when the ratio is only reported.
    void add(const std::string& what, const PairedMedians& medians, const std::string& baseline,
             double goal) {
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "%.2f×", medians.ratio());
        std::string goalText = "reported";
        if (goal > 0.0) {
            char text[48];
            std::snprintf(text, sizeof text, "≤ %.1f× — %s", goal,
                          medians.ratio() <= goal ? "met" : "missed");
            goalText = text;
        }
        rows_.push_back({what, duration(medians.subject), baseline, duration(medians.baseline),
                         ratio, goalText});
    }

    void size(const std::string& what, long long bytes) {
        char text[48];
        if (bytes < 0) {
            std::snprintf(text, sizeof text, "not found");
        } else {
            std::snprintf(text, sizeof text, "%lld bytes (%.1f KiB)", bytes, bytes / 1024.0);
        }
        rows_.push_back({what + " size", text, "", "", "", ""});
    }

    // Sendrel's wall time for its run against the sleeps it must make plus a bare start.
    void sendrel(double sendrelMicros, double emptyMicros, double sleepsMicros, int runs,
                 int fewestPosts, int mostPosts) {
        const double floor = sleepsMicros + emptyMicros;
        char baseline[96];
        std::snprintf(baseline, sizeof baseline, "10 × 35 ms + empty program start (%s)",
                      duration(emptyMicros).c_str());
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "%.2f×", floor > 0.0 ? sendrelMicros / floor : 0.0);
        char overhead[48];
        std::snprintf(overhead, sizeof overhead, "overhead %+.1f ms",
                      (sendrelMicros - floor) / 1000.0);
        rows_.push_back({"Sendrel /s … /c 10, wall time", duration(sendrelMicros), baseline,
                         duration(floor), ratio, overhead});
        char note[128];
        std::snprintf(note, sizeof note,
                      "Sendrel: median of %d runs; the target window received %d to %d of the "
                      "10 posts per run",
                      runs, fewestPosts, mostPosts);
        notes_.push_back(note);
    }

    void note(const std::string& text) { notes_.push_back(text); }

    std::string markdown() const {
        std::string out =
            "| Measurement | Median | Baseline (same run) | Baseline median | Ratio | Goal |\n"
            "|---|---:|---|---:|---:|---|\n";
        for (const Row& row : rows_) {
            out += "| " + row.what + " | " + row.median + " | " + row.baseline + " | " +
                   row.baselineMedian + " | " + row.ratio + " | " + row.goal + " |\n";
        }
        out += "\n";
        for (const std::string& text : notes_) out += "- " + text + "\n";
        return out;
    }

private:
    struct Row {
        std::string what;
        std::string median;
        std::string baseline;
        std::string baselineMedian;
        std::string ratio;
        std::string goal;
    };

    static std::string duration(double micros) {
        char text[32];
        if (micros >= 10000.0) {
            std::snprintf(text, sizeof text, "%.1f ms", micros / 1000.0);
        } else if (micros >= 10.0) {
            std::snprintf(text, sizeof text, "%.1f µs", micros);
        } else {
            std::snprintf(text, sizeof text, "%.3f µs", micros);
        }
        return text;
    }

    std::vector<Row> rows_;
    std::vector<std::string> notes_;
};
