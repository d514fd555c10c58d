#include "report/checks/check_findings.h"

#include <set>
#include <string>
#include <utility>

namespace nibscope_report {

const char* const unknown_remedy =
    "No remedy is recorded for this outcome: send this report to the tablet driver's maker.";

namespace {

const char* const user = "user";
const char* const program = "drawing program";
const char* const maker = "driver's maker";

// Addressed to whoever can act: the user changes a setting or reinstalls, the drawing
// program chooses its pen API, the driver's maker gets the evidence. No product names:
// the advice holds for any tablet.
const std::vector<check_remedy> remedies = {
    {"library-loads", "FAIL", user, "No tablet driver library (wintab32.dll) could be loaded: the driver is not installed, or its library is missing or damaged.",
     "Install the tablet driver again from its maker's site, restart Windows, and run the report again."},
    {"library-machine", "FAIL", user, "The driver library found is built for another kind of processor than 64-bit programs.",
     "Install the tablet driver's 64-bit edition; a driver without one cannot serve 64-bit drawing programs."},
    {"entries-exported", "FAIL", maker, "The driver library lacks entries that every WinTab program calls.",
     "Send this report to the driver's maker: its checks name the missing entries."},
    {"search-path-companies", "WARN", user, "wintab32.dll files of different makers lie on the search path; programs load whichever comes first, often the leftover of an old driver.",
     "Uninstall the tablet drivers of tablets you no longer use, then install the driver of the tablet you have again."},
    {"32-bit-library", "WARN", user, "32-bit drawing programs load another wintab32.dll than 64-bit ones, or find none.",
     "Install the tablet driver again, so that it puts its 32-bit library in place beside the 64-bit one."},
    {"32-bit-tablet", "WARN", user, "32-bit drawing programs would see another tablet, other pressure levels or another tablet area than 64-bit ones, or the 32-bit side could not be asked.",
     "Install the tablet driver again, so that its 32-bit and 64-bit libraries come from one package; until then, draw in the 64-bit edition of the drawing program."},
    {"interface-answers", "FAIL", user, "The driver library loads but answers nothing: no tablet is connected, or the driver's service is not running.",
     "Connect the tablet, restart the tablet driver's service (or Windows), and run the report again."},
    {"interface-counts", "WARN", maker, "The driver does not say how many devices or cursors it has, so programs that ask learn of none.",
     "Send this report to the driver's maker: the interface should count its devices and cursors."},
    {"query-sizes", "FAIL", maker, "The driver's size queries do not match what it writes, so a program that trusts them reads garbage or has its memory overwritten.",
     "Send this report to the driver's maker: its checks name each query and the sizes."},
    {"record-sizes", "FAIL", maker, "The driver writes records longer than the interface publishes them, past the end of a program's buffer: programs can crash.",
     "Send this report to the driver's maker: its checks name the query and both sizes."},
    {"size-cap", "FAIL", maker, "The driver announces sizes far beyond what any WinTab record needs; a program that believes them runs out of memory.",
     "Send this report to the driver's maker: its checks name every query with the size it announced."},
    {"texts-terminated", "FAIL", maker, "A text the driver answers ends without its terminating zero, so programs read past it.",
     "Send this report to the driver's maker: its checks name the text."},
    {"device-name-size", "WARN", program, "The driver answers 0 when asked for the size of the device's name, but fills the name when asked for it.",
     "Read the device name into a buffer of fixed size (256 bytes) instead of the size the driver announces."},
    {"cursors-answer", "WARN", program, "A cursor the driver counts answers nothing, while the pen is served under another cursor number.",
     "Ask for the cursors the device's cursor types name, not only those below the counted number, and accept packets from any cursor."},
    {"pressure-range", "WARN", user, "The device does not answer its pressure axis: the pen's pressure is switched off or the driver leaves it out.",
     "Switch the pen's pressure on in the tablet driver's settings; if that does not help, install the driver again."},
    {"pressure-range", "FAIL", maker, "The device's pressure axis has no range, so every program draws each stroke at one width.",
     "Send this report to the driver's maker: the pressure axis should run from its minimum to a higher maximum."},
    {"context-rate", "WARN", maker, "The default context or its device's packet rate could not be read, so the rate a program gets is unknown.",
     "Send this report to the driver's maker: the device should answer its packet rate."},
    {"context-rate", "FAIL", maker, "The default context claims more packets per second than its device sends.",
     "Send this report to the driver's maker: the default context's rate should not exceed the device's."},
    {"aspect", "WARN", user, "The tablet's area and the screen area it maps to differ in shape, so circles drawn on the tablet come out as ellipses; or the areas could not be read.",
     "In the tablet driver's settings keep the tablet's proportions (give up a strip of its area so that it has the screen's shape), or map it to a screen area of the tablet's shape."},
    {"context-area", "WARN", user, "The tablet maps onto an area that is neither one monitor nor the whole desktop, or that spans monitors of different DPI, so the pen misses parts of the screen or changes speed between monitors.",
     "In the tablet driver's settings map the tablet to one monitor, or to all monitors with the same display scaling, and restart the driver after adding or moving a monitor."},
    {"context-opens", "FAIL", maker, "The driver refuses the tablet context a drawing program opens, or gives it no packet queue.",
     "Send this report to the driver's maker; meanwhile use the drawing program's Windows Ink setting if it has one."},
    {"packet-count", "FAIL", maker, "The driver hands over more packets than asked for, writing past the end of a program's buffer.",
     "Send this report to the driver's maker: its checks say where it happened."},
    {"pen-apis", "WARN", program, "Only one pen API delivered pressure (WinTab or Windows Ink), or the pen sent nothing during the capture.",
     "Set the drawing program to the pen API that delivered pressure (the capture's pen APIs line names it); if nothing arrived, run the capture again and draw in its window."},
    {"pen-apis", "FAIL", user, "Pen input arrived but neither WinTab nor Windows Ink carried pressure, or no capture could run.",
     "Switch the pen's pressure on in the tablet driver's settings, together with Windows Ink there; if that does not help, install the driver again."},
    {"mapping", "WARN", user, "WinTab's positions do not land where the cursor is: the driver maps the tablet onto another area than the screen's, often after a change of monitors or display scaling.",
     "In the tablet driver's settings map the tablet to the monitor you draw on (or to all monitors), and restart the driver after changing the display scaling."},
    {"hover-pressure", "WARN", user, "The pen reports pressure while its tip is up, so strokes start before the pen touches.",
     "Set a firmer tip feel (a higher click threshold) in the tablet driver's settings; if that does not help, replace the pen's nib."},
    {"pressure-reach", "WARN", user, "The hardest press of the capture stayed below 95 % of the pressure range, so the widest strokes cannot be drawn.",
     "Press once firmly during the capture; if full pressure is still not reached, set a softer tip feel in the tablet driver's settings."},
    {"packet-loss", "FAIL", maker, "Packets went missing between the tablet and the program: gaps in their serial numbers or an overflowing queue.",
     "Send this report, with a recording of the capture (--record), to the driver's maker; meanwhile plug the tablet straight into the computer."},
    {"report-rate", "WARN", user, "Packets arrive far below the rate the device claims, so quick strokes come out as polygons; or the rate could not be measured.",
     "Plug the tablet straight into the computer rather than into a hub, switch off its power saving in Windows' Device Manager, and draw a stroke during the capture."},
};

}  // namespace

const std::vector<check_remedy>& check_remedies()
{
    return remedies;
}

const check_remedy* remedy_for(const std::string& check, const std::string& outcome)
{
    for (const check_remedy& remedy : remedies)
        if (check == remedy.check && outcome == remedy.outcome)
            return &remedy;
    return nullptr;
}

report_value findings_of(const report_value& checks)
{
    report_value findings = report_value::list();
    std::set<std::pair<std::string, std::string>> named;  // a check may give one outcome on several lines
    for (const report_value& check : checks.items()) {
        const std::string& id = check.get("id").text();
        const std::string& outcome = check.get("outcome").text();
        if (outcome == "PASS" || !named.insert({id, outcome}).second)
            continue;
        const check_remedy* remedy = remedy_for(id, outcome);
        findings.add(report_value::object()
                         .set("check", id)
                         .set("outcome", outcome)
                         .set("cause", remedy ? std::string(remedy->cause) : check.get("sentence").text())
                         .set("remedy", remedy ? remedy->remedy : unknown_remedy)
                         .set("who", remedy ? remedy->who : maker));
    }
    return findings;
}

}  // namespace nibscope_report
