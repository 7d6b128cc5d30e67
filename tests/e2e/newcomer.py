"""What a newcomer meets first: a session whose tracks are missing, broken or empty, files handed
to a program that already runs, files from outside that are neither tracks nor sessions, and the
video attached to a track."""

import os
import shutil
import subprocess
import unittest

from varlin_e2e import VarlinTestCase, poll, write_session

FAILED_OPEN = "couldn\u2019t be opened"


class UnplayableTracks(VarlinTestCase):
    """A session "Evening": a good track, one whose file is gone, one of random bytes named .mp3
    and an empty one; the broken one is current, as the last run left it."""

    def setUp(self):
        super().setUp()
        music = self.home.music
        good = self.track("good.mp3", 20)
        (music / "corrupt.mp3").write_bytes(os.urandom(20000))
        (music / "empty.mp3").write_bytes(b"")
        self.evening = write_session(music / "Evening.varlin", [
            (good, 20), (music / "missing.mp3", 180), (music / "corrupt.mp3", 200),
            (music / "empty.mp3", 150)], current_item=2)

    def test_play_is_refused_with_the_reason_in_the_window(self):
        app = self.start_restored(self.evening, entry_index=2, time_=30.0)
        # The left part of the status bar, measured each time in case the window was resized.
        status_bar = lambda: (4, app.size()[1] - 20, 500, 16)
        poll(lambda: FAILED_OPEN in app.output(), what="the restored broken track to be tried")
        self.assertEqual(app.output().count(FAILED_OPEN), 1, "opened once at start\n" + app.tail())
        self.assertFalse(app.shows_ink(status_bar()))

        # The empty track next: chosen with the arrow key, it cannot be loaded either.
        app.key("Down", "space")
        poll(lambda: app.shows_ink(status_bar()), what="the reason in the status bar")
        self.documentation_shot(app, "unplayable-tracks")
        self.assertFalse(app.playing())
        self.assertTrue(app.alive(), app.tail())
        self.assertIn("\u201cempty.mp3\u201d " + FAILED_OPEN + ": empty file", app.output())
        self.assertQuits(app)


class SecondStart(VarlinTestCase):
    """Files from outside, and a second start in the same login session or in another."""

    def test_files_go_to_the_program_of_the_same_runtime_folder_only(self):
        notes = self.home.music / "notes.txt"
        notes.write_text("a cue sheet\n")
        first = self.start(self.track("tone.wav", 2, format_="wav"), notes).wait_main_window()
        poll(lambda: "notes.txt: not a Varlin session and not audio Varlin can play"
             in first.output(), what="the file that is neither to be reported")

        flac = self.track("tone.flac", 2, format_="flac")
        second = self.start(flac)
        self.assertEqual(second.wait_exit(), 0, second.tail())
        self.assertIn("already running", second.output())
        poll(lambda: flac.as_uri() in first.output(), what="the first program to get the file")
        self.assertNotIn("not a property list", first.output())

        # Another runtime folder is another login session: its own program, its own window.
        elsewhere = self.home.root / "elsewhere"
        elsewhere.mkdir(mode=0o700)
        other = self.start(flac, env={"XDG_RUNTIME_DIR": str(elsewhere)})
        poll(lambda: other.xdotool("search", "--onlyvisible", "--pid", other.process.pid,
                                   check=False),
             timeout=15.0, what="a window of the program in the other runtime folder")
        self.assertTrue(other.alive(), other.tail())
        self.assertEqual(first.output().count(flac.as_uri()), 1)


class VideoViewer(VarlinTestCase):
    """A track with a demonstration video attached (FFmpeg's colour bars)."""

    @unittest.skipUnless(shutil.which("ffmpeg"), "ffmpeg makes the video")
    def test_the_video_shows_a_picture(self):
        video = self.home.music / "demo.mp4"
        subprocess.run(["ffmpeg", "-loglevel", "error", "-f", "lavfi", "-i",
                        "testsrc=duration=4:size=640x360:rate=25", "-pix_fmt", "yuv420p",
                        str(video)], check=True)
        app = self.start_restored(self.session("Figures.varlin", [("figure.mp3", 4)], 0,
                                               documents={0: [(video, "mp4")]}))
        app.click(app.size()[0] - 50, 136)  # the "mp4" button under the side stack's "+"
        viewer = app.wait_window("demo.mp4")
        # Colour bars across the middle: hardly a pixel of them is black.
        bright = lambda: sum(sum(pixel) > 90 for pixel in app.pixels((100, 150, 700, 1), viewer))
        poll(lambda: bright() > 600, what="the video's picture in its window")
        self.documentation_shot(app, "mp4-viewer", viewer)
        self.assertNotIn("HW", app.output())
        self.assertQuits(app)


if __name__ == "__main__":
    unittest.main()
