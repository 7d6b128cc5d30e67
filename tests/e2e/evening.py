"""An evening through the real window: the session of the last run comes back, the keys work
without a click, notes survive quitting, a killed program comes back where the music was (also
with a list never saved), and a cancelled save keeps the list."""

import time
import unittest

from varlin_e2e import VarlinTestCase, poll, read_plist, session_tracks

# Where things lie in the main window of the default size (1280 x 720).
NOTE_FIELD = (640, 256)
FIRST_ROW_TITLE = (190, 450, 400, 28)


class RestoredSession(VarlinTestCase):
    """A saved session "Dance" with dance.mp3 current at 2 s, as the last run left it."""

    def setUp(self):
        super().setUp()
        self.dance = self.session("Dance.varlin", [("dance.mp3", 20), ("reel.mp3", 2),
                                                   ("waltz.mp3", 2)], current_item=0)
        self.notes = self.home.music / "dance.txt"
        self.app = self.start_restored(self.dance, time_=2.0)

    def stated_time(self):
        return self.home.run_state().get("currentTime", -1.0)

    def test_space_at_start_plays_and_z_marks_a_zero_where_the_music_is(self):
        app = self.app
        self.documentation_shot(app, "main-window-start")
        app.key("space")
        poll(app.playing, what="the music to play after space")
        time.sleep(1.0)  # let the music move on
        app.key("z")
        state = poll(lambda: (s := self.home.run_state()).get("zeros") and s,
                     what="a zero in the run state")
        zero = state["zeros"][0]
        self.assertGreater(zero, 2.5, "the position moved on from 2 s")
        self.assertAlmostEqual(zero, state["currentTime"], delta=0.5)
        self.assertTrue(app.playing())
        self.assertQuits(app)
        self.assertFalse(self.notes.exists(), "no note was typed")

    def test_a_note_typed_before_quitting_is_kept_and_quitting_again_is_clean(self):
        self.app.click(*NOTE_FIELD)
        self.app.type("Swing")
        self.assertQuits(self.app)
        self.assertIn("Swing", self.notes.read_text())

        self.assertQuits(self.start().wait_main_window("Dance"))
        self.assertIn("Swing", self.notes.read_text())

    def test_a_killed_program_comes_back_where_the_music_was(self):
        app = self.app
        app.key("space")
        poll(app.playing, what="the music to play")
        # While the music plays the run state follows it; the second write comes at 10 s of
        # play (the music may lag the wall clock on a busy machine, hence 8).
        written = poll(lambda: (t := self.stated_time()) >= 2.0 + 8.0 and t, timeout=20.0,
                       what="the run state to follow the music")
        seen = time.monotonic()
        time.sleep(1.0)  # about 11 s of play
        heard = written + (time.monotonic() - seen)
        app.kill()

        again = self.start().wait_main_window("Dance")
        poll(lambda: abs(self.stated_time() - heard) <= 2.0,
             what=lambda: f"the restart to resume near {heard:.1f} s (the run state says "
                          f"{self.stated_time():.1f} s)")
        self.assertQuits(again)


class UnsavedSession(VarlinTestCase):
    """A track from the command line: a list that belongs to no file yet."""

    def quit_saving_as(self, app, name):
        """Quits, naming a file of the music folder in the panel that asks where to save."""
        app.focus()
        app.key("ctrl+q")
        app.wait_window("Save Session")
        app.key("ctrl+a")
        app.type(str(self.home.music / name))
        app.key("Return")
        self.assertEqual(app.wait_exit(), 0, app.tail())
        return self.home.music / name

    def test_cancelling_the_save_at_quit_keeps_the_program_and_its_list(self):
        song = self.track("song.mp3", 5)
        app = self.start(song).wait_main_window()
        poll(lambda: app.shows_ink(FIRST_ROW_TITLE), what="the track in the list")

        app.key("ctrl+q")
        app.wait_window("Save Session")
        app.key("Escape")
        poll(lambda: not app.find_window("Save Session"), what="the panel to close")
        self.assertTrue(app.alive(), app.tail())

        # Quitting again asks again: the list is still there, and is saved this time.
        saved = self.quit_saving_as(app, "Kept.varlin")
        self.assertEqual(session_tracks(saved), [str(song)])

    def test_a_killed_program_brings_back_the_list_it_never_saved(self):
        reel, jig = self.track("reel.mp3", 30), self.track("jig.mp3", 30)
        app = self.start(reel, jig).wait_main_window()
        poll(lambda: app.shows_ink(FIRST_ROW_TITLE), what="the tracks in the list")
        app.key("Down", "Down")  # the second row becomes current
        app.key("space")
        poll(app.playing, what="the music to play")
        # The copy follows the music: its position moves on while the music plays.
        kept = self.home.data / "Untitled.varlin"
        before = poll(lambda: (k := read_plist(kept)) and k["currentTime"] > 0 and k,
                      timeout=20.0, what="the untitled list to be kept with its position")
        app.kill()
        self.assertEqual(before["currentItem"], 1)
        tracks = session_tracks(kept)
        self.assertCountEqual(tracks, [str(reel), str(jig)])

        again = self.start().wait_main_window()  # untitled: the program's own name
        poll(lambda: again.shows_ink(FIRST_ROW_TITLE), what="the kept tracks in the list")
        saved = self.quit_saving_as(again, "Evening.varlin")
        session = read_plist(saved)
        self.assertEqual(session_tracks(saved), tracks)
        self.assertEqual(session["currentItem"], 1)
        self.assertAlmostEqual(session["currentTime"], before["currentTime"], delta=0.1)
        self.assertFalse(kept.exists(), "saved under a name, the untitled copy goes")


if __name__ == "__main__":
    unittest.main()
