"""What `cmake --install` and the Debian package put where, and the program run from the
extracted package with its app-defaults file as shipped, edited and filled with nonsense."""

import os
import re
import subprocess

import pytest

import qvxsim
import xsession as xsession_module
from instrumented import sanitized

CLASS = "XQVXClientUI"
SHARE = "share/qvxclientui/"
INSTALLED = {"bin/qvxclientui", "bin/qvxclientui-xlatcheck", "bin/qvxclientui-tap",
             "lib/X11/app-defaults/" + CLASS,
             "lib/X11/ja/app-defaults/" + CLASS, SHARE + "translations/ja.xlat",
             "share/man/man1/qvxclientui.1", "share/man/man1/qvxclientui-xlatcheck.1",
             "share/man/man1/qvxclientui-tap.1",
             SHARE + "translations/de.xlat", SHARE + "translations/_brand.xlat"} | {
             SHARE + "simulator/" + name for name in (
                 "clientsim", "qvxsim.py", "scenario.py", "xsession.py", "xwidgets.py",
                 "memcheck.py", "memcheck.supp", "chaos.py", "chaosmodel.py", "replay.py",
                 "scenarios/demo.json")}
PACKAGED_DEFAULTS = "etc/X11/app-defaults/" + CLASS
JAPANESE_DEFAULTS = "etc/X11/ja/app-defaults/" + CLASS
PACKAGED = {"usr/bin/qvxclientui", "usr/bin/qvxclientui-tap", PACKAGED_DEFAULTS,
            JAPANESE_DEFAULTS, "usr/share/man/man1/qvxclientui.1.gz",
            "usr/share/man/man1/qvxclientui-tap.1.gz", "usr/share/doc/qvxclientui/changelog.gz",
            "usr/" + SHARE + "translations/de.xlat", "usr/" + SHARE + "simulator/clientsim"}
TAP_SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "ENVIRONMENT", "FILES", "TRANSCRIPT FORMAT",
                "EXIT STATUS", "SEE ALSO"]
SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "PROTOCOL", "WIDGET HIERARCHY", "KEYBOARD",
            "RESOURCES", "TRANSLATION FILES", "EXIT STATUS", "FILES", "SEE ALSO"]


def run(*command, **options):
    """The command's standard output; it must succeed and write nothing to standard error."""
    done = subprocess.run(command, capture_output=True, text=True, check=True, **options)
    assert done.stderr == "", done.stderr
    return done.stdout


@pytest.fixture(scope="module")
def package(program, tmp_path_factory):
    """The .deb built from the program's build tree, and the folder it is extracted into."""
    folder = tmp_path_factory.mktemp("package")
    config = os.path.join(os.path.dirname(os.path.abspath(program)), "CPackConfig.cmake")
    subprocess.run(["cpack", "-G", "DEB", "--config", config, "-B", str(folder)], check=True,
                   capture_output=True)  # it reports its progress on standard error
    deb = next(folder.glob("qvxclientui_*.deb"))
    run("dpkg-deb", "-x", str(deb), str(folder / "root"))
    return deb, folder / "root"


def test_install_puts_every_file_in_place_and_the_man_pages_are_clean(program, tmp_path):
    run("cmake", "--install", os.path.dirname(os.path.abspath(program)), "--prefix", "/usr/local",
        env=dict(os.environ, DESTDIR=str(tmp_path)))
    root = tmp_path / "usr/local"
    assert {str(path.relative_to(root)) for path in root.rglob("*") if path.is_file()} == INSTALLED
    for page in ("qvxclientui.1", "qvxclientui-xlatcheck.1", "qvxclientui-tap.1"):
        assert run("groff", "-man", "-ww", "-z", str(root / "share/man/man1" / page)) == ""
    shown = run("man", "-l", str(root / "share/man/man1/qvxclientui.1"))
    assert re.findall(r"^([A-Z][A-Z ]+)$", shown, re.M) == SECTIONS
    shown = run("man", "-l", str(root / "share/man/man1/qvxclientui-tap.1"))
    assert re.findall(r"^([A-Z][A-Z ]+)$", shown, re.M) == TAP_SECTIONS


def test_package_names_its_libraries_and_section_and_holds_each_file_in_its_debian_place(package):
    deb, _ = package
    info = run("dpkg-deb", "--info", str(deb))
    assert re.search(r"^ Section: x11$", info, re.M)
    depends = re.search(r"^ Depends: (.*)$", info, re.M).group(1).split(", ")
    assert {"libc6", "libicu72", "libx11-6", "libxaw7", "libxinerama1", "libxrandr2",
            "libxt6"} <= {d.split()[0] for d in depends}
    listed = {line.split()[-1][2:] for line in run("dpkg-deb", "--contents", str(deb)).splitlines()}
    assert PACKAGED <= listed
    assert run("dpkg-deb", "-I", str(deb), "conffiles").split() == ["/" + PACKAGED_DEFAULTS,
                                                               "/" + JAPANESE_DEFAULTS]


def shown_dialog(package, xsession, folder, app_defaults=None):
    """The extracted program, given this app-defaults text, opens the action request dialog:
    ((width, height, RGB bytes) of its screenshot, its standard error)."""
    folder.mkdir()
    if app_defaults is not None:
        (folder / CLASS).write_text(app_defaults)
    environment = xsession.env(XFILESEARCHPATH=str(folder / "%N"), XAPPLRESDIR=str(folder))
    with qvxsim.Client(str(package[1] / "usr/bin/qvxclientui"), env=environment,
                       prefix=xsession_module.NO_RANDOMISATION) as client:
        client.read_frame()
        client.send_messages(qvxsim.initialization_info(BaseDirectory=str(folder / "base")))
        client.send_messages(qvxsim.action_request(ID=1, Title="Packaged"))
        window = xsession.find_window("^Vantrel Action Requests$", timeout=10.0)
        xsession.screenshot(window, folder / "shot.png")
        client.close_writing()
        client.wait_exit()
    xsession.wait_gone(window)
    shot = str(folder / "shot.png")
    size = [int(n) for n in run("/usr/bin/convert", shot, "-format", "%w %h", "info:").split()]
    pixels = subprocess.run(["/usr/bin/convert", shot, "-depth", "8", "rgb:-"],
                            capture_output=True, check=True).stdout
    return (*size, pixels), client.stderr_bytes()


def test_shipped_file_changes_nothing_and_uncommented_lines_show(package, xsession, tmp_path):
    shipped = (package[1] / PACKAGED_DEFAULTS).read_text()
    assert all(line.startswith("!") for line in shipped.splitlines() if line)
    plain, errors = shown_dialog(package, xsession, tmp_path / "none")
    assert errors == b""
    assert shown_dialog(package, xsession, tmp_path / "shipped", shipped) == (plain, b"")
    edited = shipped.replace(f"!{CLASS}.form.background: XtDefaultBackground",
                             f"{CLASS}.form.background: #ff0000").replace(
        f"!{CLASS}.form.takeAllActions.font: XtDefaultFont",
        f"{CLASS}.form.takeAllActions.font: -misc-fixed-bold-r-normal--18-*-*-*-*-*-*-*")
    assert sum(not line.startswith("!") for line in edited.splitlines() if line) >= 2
    (width, height, pixels), errors = shown_dialog(package, xsession, tmp_path / "edited", edited)
    assert errors == b"" and pixels[3 * (2 * width + 2):3 * (2 * width + 3)] == b"\xff\x00\x00"
    assert height > plain[1]  # the bigger font makes the button, so the window, taller
    nonsense = [f"{CLASS}.form.actiondesc.width: banana", f"{CLASS}.form.takeActions.width: 0",
                f"{CLASS}.form.borderWidth: -7", f"{CLASS}*font: -nobody-nofont-*",
                f"{CLASS}*fontSet: none", "*xtDefaultFontSet: -nobody-nofont-*"]
    (width, height, _), _ = shown_dialog(package, xsession, tmp_path / "nonsense",
                                         "\n".join([shipped] + nonsense))
    assert width > 400 and height > 200  # the toolkit warns, and the dialog still opens


def test_extracted_simulator_plays_the_demo_with_the_extracted_program(program, package, tmp_path):
    if sanitized(program):
        pytest.skip("this build's widgets cannot be named through editres")
    simulator = package[1] / "usr" / SHARE / "simulator"
    environment = dict(os.environ, XFILESEARCHPATH=str(package[1] / "etc/X11/app-defaults/%N"))
    environment.pop("PYTHONPATH", None)
    played = subprocess.run(["/usr/bin/python3", str(simulator / "clientsim"), "demo", "--program",
                             str(package[1] / "usr/bin/qvxclientui"), "--own-display", "--output",
                             str(tmp_path)], capture_output=True, text=True, timeout=180,
                            env=environment)
    assert (played.returncode, played.stderr) == (0, ""), played.stdout
