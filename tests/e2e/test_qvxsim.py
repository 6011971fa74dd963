"""The simulator's own vocabulary helpers, checked without the program: a fault here would make
the end-to-end tests send the wrong thing or accept a wrong reply."""

import datetime
import xml.etree.ElementTree as ET

import pytest

import qvxsim
from test_link import READY_FOR_DATA as READY


def zone(seconds):
    return datetime.timezone(datetime.timedelta(seconds=seconds))


@pytest.mark.parametrize("when, offset, text", [
    (0, None, "Thu, 01 Jan 1970 00:00:00 +0000"),
    (-1, None, "Wed, 31 Dec 1969 23:59:59 +0000"),  # a fraction before the epoch is in 1969
    (datetime.datetime(2024, 3, 5, 7, 8, 9, tzinfo=zone(3600)), 0,
     "Tue, 05 Mar 2024 06:08:09 +0000"),
    (0, -19800, "Wed, 31 Dec 1969 18:30:00 -0530"),
    (datetime.datetime(2024, 2, 29, 23, 59, 59, tzinfo=zone(0)), 3600,
     "Fri, 01 Mar 2024 00:59:59 +0100"),
])
def test_mail_date_time_writes_the_header_form_and_reads_it_back(when, offset, text):
    assert qvxsim.mail_date_time(when, offset) == text
    read = qvxsim.parse_mail_date_time(text)
    assert read.utcoffset() == datetime.timedelta(seconds=offset or 0)
    micros = when if isinstance(when, int) else qvxsim.epoch_microseconds(when)
    assert qvxsim.epoch_microseconds(read) == micros // 1_000_000 * 1_000_000
    with pytest.raises(ValueError):
        qvxsim.mail_date_time(datetime.datetime(2024, 3, 5))  # naive: no zone to write


# Each reader refuses what the program never writes, so that a wrong reply cannot pass; the
# outgoing cross-check reads every written duration shape back.
@pytest.mark.parametrize("parse, text", [
    (qvxsim.parse_mail_date_time, text) for text in (
        "Mon, 05 Mar 2024 07:08:09 +0100",  # 5 March 2024 is a Tuesday
        "Tue, 5 Mar 2024 07:08:09 +0100", "Tue, 05 Mar 2024 07:08:09 +0160",
        "Sat, 31 Feb 2024 07:08:09 +0000", "Tue, 05 Mrz 2024 07:08:09 +0100")
] + [(qvxsim.parse_xml_duration, text)
     for text in ("P", "PT", "PT1M1H", "PT0.0000001S", "PT4294967296S")])
def test_readers_reject_other_forms(parse, text):
    with pytest.raises(ValueError):
        parse(text)


def test_documents_escape_text_keep_raw_values_and_order_the_fields():
    document = qvxsim.client_document(qvxsim.action_request(
        ID=7, Title="a < b & c", Cancellable=True, Shutdown=False,
        Preview=qvxsim.Raw("<![CDATA[if a < b]]>"),
        Deadline=datetime.datetime(2024, 3, 5, 7, 8, 9, tzinfo=zone(3600))))
    assert document.startswith(b'<?xml version="1.0" encoding="UTF-8"?><ClientToUI>')
    assert [(child.tag, child.text) for child in ET.fromstring(document)[0]] == [
        ("ID", "7"), ("Title", "a < b & c"), ("Deadline", "Tue, 05 Mar 2024 07:08:09 +0100"),
        ("Preview", "if a < b"), ("Cancellable", "true"), ("Shutdown", "false")]
    message = qvxsim.action_request(ID=qvxsim.Raw("+5"), Title="first",
                                    extra=[("Title", "second"), ("Cancellable", None)])
    assert qvxsim.client_document(message, qvxsim.Raw("<Unclosed>"), root="Anything",
                                  declaration=False) == (
        b"<Anything><ActionRequest><ID>+5</ID><Title>first</Title><Title>second</Title>"
        b"<Cancellable></Cancellable></ActionRequest><Unclosed></Anything>")
    assert qvxsim.build_document("ClientToUI", "QuietModeEnd", [("A", None), ("B", '"<hi>"')]) == (
        b'<?xml version="1.0" encoding="UTF-8"?><ClientToUI><QuietModeEnd>'
        b'<A></A><B>"&lt;hi&gt;"</B></QuietModeEnd></ClientToUI>')


def test_initialization_info_repeats_support_files_and_nests_settings():
    info = qvxsim.initialization_info(
        BaseDirectory="/var/qvx/ui",
        SupportFiles=[qvxsim.support_file(FileName="a.xlat", Content=b"\x00\xffhi"),
                      qvxsim.support_file(FileName="b.txt", SubFolder="sub", Content="!!")],
        InitialUISettings=qvxsim.ui_settings(AllowSnooze=False,
                                             RemindInterval=datetime.timedelta(minutes=15)))
    shape = [(c.tag, c.text if not len(c) else [(g.tag, g.text) for g in c])
             for c in ET.fromstring(qvxsim.client_document(info))[0]]
    assert shape == [("BaseDirectory", "/var/qvx/ui"),
                     ("SupportFiles", [("FileName", "a.xlat"), ("Content", "AP9oaQ==")]),
                     ("SupportFiles", [("FileName", "b.txt"), ("SubFolder", "sub"),
                                       ("Content", "!!")]),
                     ("InitialUISettings", [("RemindInterval", "PT15M"), ("AllowSnooze", "false")])]
    for build in (qvxsim.action_request, qvxsim.message_request, qvxsim.remove_request,
                  qvxsim.ui_settings, qvxsim.support_file, qvxsim.quiet_mode_start,
                  qvxsim.action_running_topmost):
        with pytest.raises(TypeError):
            build(Tilte="typo")


def outgoing(message, body, root="UIToClient"):
    return (f'<?xml version="1.0" encoding="UTF-8"?><{root}><{message}>{body}'
            f"</{message}></{root}>").encode()


# The four answers are read back from the program's own senders by the outgoing cross-check;
# here the handshake and an empty text, which the cross-check never sends.
def test_parse_outgoing_reads_the_handshake_and_an_empty_text():
    assert qvxsim.parse_outgoing(READY) == qvxsim.ReadyForData(1, 1, 1, 1, 0)
    assert qvxsim.parse_outgoing(outgoing(
        "ClientUIErrorMessage", "<DebugString></DebugString><ErrorCode>1</ErrorCode>",
        "ClientToUI")) == qvxsim.ClientUIErrorMessage("", 1)


TAKEN = "<IsCancel>false</IsCancel><IsOffer>false</IsOffer><ID>42</ID>"


@pytest.mark.parametrize("payload", [
    READY + b"\n", READY.replace(b' encoding="UTF-8"', b""),
    READY.replace(b"ClientToUI", b"UIToClient"),
    READY.replace(b"<ClientUIPid>0</ClientUIPid>", b""),
    READY.replace(b">0</ClientUIPid>", b">00</ClientUIPid>"),
    READY.replace(b"<ProtocolVersionMin>1<", b"<ProtocolVersionMin>4294967296<"),
    READY.replace(b"</ReadyForData>", b"</ReadyForData><ReadyForData/>"),
    outgoing("ActionTaken", TAKEN.replace("false", "False", 1)),
    outgoing("ActionTaken", TAKEN.replace("<ID>42", "<ID>-42")),
    outgoing("ActionTaken", "<IsOffer>false</IsOffer><IsCancel>false</IsCancel><ID>42</ID>"),
    outgoing("ActionTaken", TAKEN + "<Extra/>"),
    outgoing("ActionTaken", TAKEN.replace("<ID>", '<ID n="1">')),
    outgoing("RemindInterval", "<TimeInterval>PT90M</TimeInterval>"),
    outgoing("RemindTime", "<TimeObject>Tue, 05 Mar 2024 07:08:09 +0100</TimeObject>"),
    outgoing("Unknown", ""),
    b'<?xml version="1.0" encoding="UTF-8"?><UIToClient><ActionTaken>',
])
def test_parse_outgoing_rejects_anything_off_its_shape(payload):
    with pytest.raises(qvxsim.ProtocolViolation):
        qvxsim.parse_outgoing(payload)
