#!/usr/bin/python3
"""The real window as a screen-reader user meets it: found, pressed and read only through the
accessibility bus and the keyboard, with the weather served from loopback.

    /usr/bin/python3 tests/e2e/window_e2e.py [--build DIR] [WindowE2E.test_name ...]
"""
import os
import re
import subprocess
import sys
import time
import unittest

import olvdrive
from olvdrive import BOSTON, HAGATNA

BUILD = os.environ.get("OLVENAR_BUILD_DIR", os.path.join(olvdrive.SOURCE, "build"))


def panel_tabs(my_cities_toggle, global_toggle):
    """The main panel's Tab stops while nothing is spoken (Pause and Stop wait for speech)."""
    return [f"push button '{my_cities_toggle}'", f"push button '{global_toggle}'",
            "push button 'Audio Help: Overview'", "push button 'View the weather page'",
            "label 'Forecast'", "push button 'Update'", "push button 'Conditions'",
            "push button ' Forecast'", "push button ' Random'",
            "push button 'Audio Help: Main Window Area'"]


def sound_server_reachable(env):
    return subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode == 0


def words_spoken(status):
    """The n of "Speaking n of m words. (p%)", else 0."""
    spoken = re.match(r"Speaking (\d+) of", status)
    return int(spoken.group(1)) if spoken else 0


def from_first(cycle, first):
    """The Tab cycle turned round to start at first."""
    at = cycle.index(first) if first in cycle else 0
    return cycle[at:] + cycle[:at]


class WindowE2E(unittest.TestCase):
    def start(self, **sandbox):
        self.box = olvdrive.Sandbox(BUILD, timeout=45, **sandbox)
        self.addCleanup(self.box.close)
        self.program = self.box.start()
        return self.program

    def quit_cleanly(self):
        self.assertEqual(self.program.quit(), 0)
        self.assertEqual(self.program.proc.returncode, 0)

    def test_current_conditions_are_shown_heard_and_read_aloud(self):
        program = self.start()
        focused = program.focus_window()
        program.heard.items.clear()
        program.menu("File", "Update Current")
        program.wait_status(f"Retrieval for {olvdrive.place(BOSTON)} complete")
        self.assertEqual(self.box.requests(), ["/MapClick.php?lat=42.36&lon=-71.06&FcstType=json"])

        # The caption is cut on the screen but whole for the ear; values say what they are.
        self.assertEqual(program.value("Location"), "Boston, Massachusetts, United States")
        self.assertEqual([program.value(caption) for caption in
                          ("Humidity (%)", "Dew Point (\u00b0F)", "Pressure (in)",
                           "Visibility (mi)", "Conditions", "Updated")],
                         ["100", "77", "29.73", "5", "Rain Fog/Mist", "8:45 AM ChST"])
        self.assertEqual([image.name for image in program.find_all("image")],
                         ["Temperature 77 degrees", "Wind North at 8 MPH"])
        forecast = program.text_of(program.find("label", "Forecast"))
        self.assertTrue(forecast.startswith("Forecast Updated 8:45 AM ChST on 4 Aug"), forecast)
        self.assertIn("Today Showers likely and possibly a thunderstorm.", forecast)
        row = program.rows(program.find("tree", "My Cities"))
        self.assertEqual(row, ["Boston, Massachusetts, United States",
                               "Hagatna, Guam, United States"])

        # Changes are announced once each, without moving the focus anywhere.
        heard = program.heard
        retrieving = f"Retrieving data for {olvdrive.place(BOSTON)}..."
        complete = f"Retrieval for {olvdrive.place(BOSTON)} complete"
        # (From loopback the end may come before the start's announcement is read.)
        self.assertIn(heard.names("label")[:2], ([retrieving, complete], [complete, complete]))
        self.assertEqual(heard.names("image"), ["Temperature 77 degrees", "Wind North at 8 MPH"])
        self.assertEqual(olvdrive.describe(heard.focus), olvdrive.describe(focused))
        self.assertFalse([item for item in heard.items if item[0] == "focus"], heard.items)
        self.assertEqual(program.layout_faults(), [])

        self.require_sound_server()
        program.menu("Read", "Current Conditions")
        program.wait_status(lambda text: text.startswith("Speaking "))
        program.press("Stop")
        program.wait_status("Idle...")
        self.quit_cleanly()

    def test_views_and_my_cities_by_keyboard_alone(self):
        program = self.start()
        program.focus_window()
        program.keys("ctrl+g")
        program.find("push button", "Hide Global Locations")
        self.assertEqual(program.layout_faults(), [])

        # Nothing chosen yet: the message box says so, and Enter closes it.
        program.press("Add->MyCities")
        alert = olvdrive.wait_for(lambda: program.dialog("alert"), 5, "the message box")
        self.assertEqual(program.find("label", within=alert).name,
                         "Please select a city from the list.")
        program.keys("Return")
        olvdrive.wait_for(lambda: not program.dialog("alert"), 5, "the message box to close")

        # The Alt letter of "Locations:" goes to its list; its context menu adds the city.
        program.focus_window()
        program.keys("alt+l")
        olvdrive.wait_for(lambda: olvdrive.describe(program.heard.focus) == "list 'Locations'",
                          5, "the list of locations to have the focus")
        self.assertIn(("focus", "list item", "Atyrau"), program.heard.items)
        program.keys("Menu", "a")
        program.keys("ctrl+m")
        tree = program.find("tree", "My Cities")
        olvdrive.wait_for(lambda: len(program.rows(tree)) == 3, 5, "Atyrau in My Cities")
        self.assertEqual(program.rows(tree), ["Atyrau, Kazakhstan, Asia",
                                              "Boston, Massachusetts, United States",
                                              "Hagatna, Guam, United States"])

        # Choosing its row shows it; its context menu removes it again.
        program.tab_to("tree", "My Cities")
        self.assertEqual(olvdrive.describe(program.key_to_focus(["Home"])),
                         "table cell 'Atyrau, Kazakhstan, Asia'")
        olvdrive.wait_for(lambda: program.value("Location") == "Atyrau, Kazakhstan, Asia", 5,
                          "the chosen city in the caption")
        program.keys("Menu", "m")
        olvdrive.wait_for(lambda: len(program.rows(tree)) == 2, 5, "Atyrau to go")
        with open(os.path.join(self.box.home, "MyCities.chl"), encoding="latin-1") as stored:
            kept = stored.read()
        self.assertIn(BOSTON, kept)
        self.assertIn(HAGATNA, kept)
        self.assertNotIn("Atyrau", kept)

        # Alt+F, E: the File menu's Exit.
        program.keys("alt+f", "e")
        self.assertEqual(program.wait_ended(), 0)

    def test_tab_order_names_and_layout_at_one_and_a_half_times_the_size(self):
        program = self.start(scale=1.5)
        program.focus_window()
        views = [
            ("ctrl+n", ("Show MyCities", "Show Global Locations"),
             ["combo box 'Boston, Massachusetts, United States'", "combo box 'Recent Cities:'"]),
            ("ctrl+g", ("Show MyCities", "Hide Global Locations"),
             ["combo box 'Asia'", "combo box 'Kazakhstan'", "list 'Locations'",
              "push button 'Retrieve'", "push button 'Retrieve and Read Conditions'",
              "push button 'Retrieve and Read Forecast'", "push button 'Add->MyCities'",
              "push button 'Default Options'", "push button 'Audio Help: Global Locations Area'"]),
            ("ctrl+m", ("Hide MyCities", "Show Global Locations"),
             ["tree 'My Cities'", "push button 'Update All'", "push button ' Summary'",
              "push button 'City Options'", "push button 'Remove'", "push button 'Audio Help: MyCities Summary Area'"]),
        ]
        for shortcut, toggles, area in views:
            with self.subTest(view=shortcut):
                program.keys(shortcut)
                program.find("push button", toggles[1])
                expected = panel_tabs(*toggles) + area
                self.assertEqual(from_first(program.tab_order(), expected[0]), expected)
                self.assertEqual(program.nameless(), [])
                self.assertEqual(program.layout_faults(), [])
        self.quit_cleanly()

    def answer_first_run(self, choose_city):
        """The program started with the first-run questions unanswered, answered by keyboard:
        choose_city(program, wizard) picks the closest city. The window that opens then."""
        self.box = olvdrive.Sandbox(BUILD, timeout=45, my_cities=(HAGATNA,), first_run=True)
        self.addCleanup(self.box.close)
        program = self.program = self.box.start(check=False)
        wizard = program.wait_top("Setting Preferences")
        program.focus_window(wizard)
        # Every page's controls have names a screen reader can say.
        for page in ("Welcome to Olvenar", "Internet Options"):
            program.find("label", page, within=wizard)
            self.assertEqual(program.nameless(wizard), [], page)
            program.keys("alt+n")
        program.find("label", "Your Closest City", within=wizard)
        choose_city(program, wizard)
        self.assertEqual(program.nameless(wizard), [])
        program.keys("alt+n")
        program.find("label", "Misc. Settings", within=wizard)
        self.assertEqual(program.nameless(wizard), [])
        program.keys("alt+f")
        program.wait_shown()
        return program

    def choose_by_keyboard(self, program, *entries):
        """Each drop-down by its label's Alt letter, then Down or Up until it shows the entry."""
        previous = None
        for letter, entry in entries:
            program.keys(f"alt+{letter}")
            combo = previous = olvdrive.wait_for(
                lambda: program.heard.focus.getRoleName() == "combo box" and
                program.heard.focus != previous and program.heard.focus, 5,
                f"Alt+{letter.upper()}'s drop-down to have the focus")
            program.choose(combo, entry)

    def assert_first_run_kept(self, key):
        self.assertIn("sz:StartupSaved=1", self.box.settings())
        with open(os.path.join(self.box.home, "MyCities.chl"), encoding="latin-1") as stored:
            self.assertEqual(stored.read().count(f">{key}<"), 1)

    def test_first_run_questions_answered_by_keyboard_open_the_window_on_that_city(self):
        def by_region(program, wizard):
            self.choose_by_keyboard(program, ("r", "United States"), ("s", "Massachusetts"))
            program.find("combo box", "Boston", within=wizard)
        program = self.answer_first_run(by_region)
        self.assertEqual(program.value("Location"), olvdrive.place(BOSTON))
        self.assert_first_run_kept(BOSTON)
        self.quit_cleanly()

    def test_first_run_city_by_zip_code_opens_the_window_on_that_place(self):
        def by_zip(program, wizard):
            self.choose_by_keyboard(program, ("r", "United States (by Zip Code)"))
            box = program.key_to_focus(["alt+z"], "the ZIP code box")
            self.assertEqual(olvdrive.describe(box), "text 'Zip Code:'")
            program.keys("0", "2", "1", "0", "8")
            olvdrive.wait_for(lambda: program.text_of(box) == "02108", 5, "the ZIP code typed")
        program = self.answer_first_run(by_zip)
        self.assert_first_run_kept("ZIP:02108")
        self.assertEqual(program.value("Location"), "ZIP code 02108")
        # Its place is known once retrieved: the ZIP code table's, at the table's coordinates.
        program.menu("File", "Update Current")
        program.wait_status(lambda text: text.startswith("Retrieval for ZIP code 02108")
                            and text.endswith(" complete"))
        self.assertEqual(self.box.requests(),
                         ["/MapClick.php?lat=42.3576&lon=-71.0684&FcstType=json"])
        self.assertEqual(program.value("Location"), "Boston, Massachusetts")
        tree = program.find("tree", "My Cities")
        olvdrive.wait_for(lambda: "Boston, Massachusetts" in program.rows(tree), 5,
                          "the ZIP city's row named by its place")
        self.quit_cleanly()

    def test_voice_options_by_keyboard_are_kept_and_the_new_default_voice_reads(self):
        program = self.start()
        program.focus_window()
        program.menu("File", "Update Current")
        program.wait_status(f"Retrieval for {olvdrive.place(BOSTON)} complete")
        program.keys("alt+s", "v")
        dialog = program.wait_top("Setting Voice and Audio File Preferences")
        program.focus_window(dialog)
        self.assertEqual(program.nameless(dialog), [])
        # The second voice of the first engine (the first is the default at the start): its
        # speed two steps up, then made the default voice.
        tree = program.key_to_focus(["alt+v"], "the list of voices")
        program.keys("Home", "Right", "Down", "Down")
        cell = olvdrive.wait_for(lambda: program.heard.focus.getRoleName() == "table cell"
                                 and program.heard.focus.getIndexInParent() == 6
                                 and program.heard.focus, 5, "the second voice")
        voice = cell.name

        def state():
            return tree.getChildAtIndex(cell.getIndexInParent() + 1).name
        self.assertEqual(state(), "Enabled")
        speed = program.key_to_focus(["alt+s"], "the speed")
        self.assertEqual(olvdrive.describe(speed), "slider 'Speed'")
        before = int(speed.queryValue().currentValue)
        program.keys("Right", "Right")
        olvdrive.wait_for(lambda: speed.queryValue().currentValue == before + 2, 5,
                          "the speed two steps up")
        program.keys("alt+u")
        olvdrive.wait_for(lambda: state() == "Default voice", 5, f"{voice} to be the default")
        program.keys("alt+o")
        olvdrive.wait_for(lambda: program.dialog() is None, 10, "the dialog to close")
        # The engine's voice key: its prefix, name and language code; enabled, then speed.
        voice_id = rf"\w{{4}}{re.escape(voice)}\d+"
        self.assertRegex(self.box.settings(), rf"(?m)^sz:VCE_{voice_id}=1,{before + 2},")
        self.assertRegex(self.box.settings(), rf"(?m)^sz:TTS_DefaultVoiceID={voice_id}$")

        self.require_sound_server()
        program.menu("Read", "Current Conditions")
        program.wait_status(lambda text: text.startswith("Speaking "))
        with open(os.path.join(self.box.home, "olvenar.dbg"), encoding="latin-1") as log:
            self.assertRegex(log.read(), rf"EngnOpen voice : {re.escape(voice)} \({voice_id}\)")
        program.press("Stop")
        program.wait_status("Idle...")
        self.quit_cleanly()

    def test_a_scheduled_summary_is_read_aloud_when_its_time_comes(self):
        self.box = olvdrive.Sandbox(BUILD, timeout=60, my_cities=(HAGATNA,),
                                    settings="sz:AutoUpdate=0")
        self.addCleanup(self.box.close)
        self.box.write("Auto.chl", "<key =Summary1><AutoType>atPeriodic</AutoType>"
                                   "<Period>5</Period><Enabled>Y</Enabled></key >\r\n")
        # The scheduler looks every 20 s and reads at a new five-minute slot: start its clock
        # a quarter minute before one (12:04:45), so that its first look finds the summary due.
        now = time.localtime()
        seconds = 12 * 3600 + 4 * 60 + 45 - (now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec)
        program = self.program = self.box.start(
            env={"OLVENAR_TEST_CLOCK_OFFSET_MINUTES": f"{seconds / 60:.4f}"})
        self.require_sound_server()
        self.assertEqual(self.box.requests(), [])
        recording = self.box.record_sink()

        program.wait_status(lambda text: text.startswith("Speaking "), timeout=35)
        self.assertEqual(self.box.requests(),
                         ["/MapClick.php?lat=13.47&lon=144.75&FcstType=json"])
        # Heard on the default sink of the test sound server, not only announced: a few words in.
        program.wait_status(lambda text: words_spoken(text) >= 8)
        self.assertGreater(self.box.stop_recording(recording), 3000)
        program.press("Stop")
        program.wait_status("Idle...")
        with open(os.path.join(self.box.home, "Auto.chl"), encoding="latin-1") as stored:
            self.assertIn("<LastAuto>1205</LastAuto>", stored.read())
        self.quit_cleanly()

    def require_sound_server(self):
        if sound_server_reachable(self.box.env):
            return
        if os.environ.get("OLVENAR_REQUIRE_SOUND_SERVER") == "1":
            self.fail("no sound server to speak to")
        self.quit_cleanly()
        self.skipTest("no sound server: the reading aloud is left out")


def run_each_apart(names):
    """libatspi binds to the first buses it meets: every test needs a process of its own."""
    failed = 0
    for name in names:
        failed += subprocess.run([sys.executable, __file__, "--build", BUILD, name]).returncode != 0
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) > 2 and sys.argv[1] == "--build":
        BUILD = sys.argv[2]
        del sys.argv[1:3]
    if len(sys.argv) == 1:
        sys.exit(run_each_apart(f"WindowE2E.{name}" for name in
                                unittest.TestLoader().getTestCaseNames(WindowE2E)))
    unittest.main(verbosity=2, warnings="ignore")
