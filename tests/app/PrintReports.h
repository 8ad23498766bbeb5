#pragma once
// Print files the printing tests share, as the host writes them.

#include <string>

// Three pages of 22 lines, each headed by its number and ended by a form feed.
inline std::string ThreePageReport() {
    std::string report;
    for (int page = 1; page <= 3; ++page) {
        report += "PASKY  STRANA " + std::to_string(page) + "\r\n";
        for (int row = 1; row <= 20; ++row)
            report += "  Novak Jan              1234,50\r\n";
        report += std::string(80, '\xC4') + "\f\r\n";
    }
    return report;
}

// 130 numbered lines without a form feed: with Dlzka 60, pages of 62, 62 and 6 lines.
inline std::string ReportOf130Lines() {
    std::string report;
    for (int line = 1; line <= 130; ++line) {
        const std::string number = std::to_string(1000 + line).substr(1);
        report +=
            "RIADOK " + number + "  Novak Jan  " + std::string(50, '.') + " " + number + "\r\n";
    }
    return report;
}
