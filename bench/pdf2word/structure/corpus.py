"""The documents of the structure corpus: each a function that builds its source and truth.
DOCUMENTS lists them with the producer that prints them: "office" (LibreOffice: Writer, Calc,
Impress, Draw, and HTML through Writer/Web) or "chromium"."""
import random

import text
from calc import CalcDoc
from slides import SlideDoc
from truth import Truth
from webpage import HtmlDoc
from writer import WriterDoc

ITEMS = ["Harbour dues", "Mooring fees", "Fuel sales", "Ice plant", "Rents from sheds", "County grant", "Fish market levy",
         "Boat repairs", "Wages and salaries", "Insurance", "Electricity", "Dredging", "Lighting", "Cleaning",
         "Training courses", "Museum tickets", "Car park", "Crane hire", "Slipway charges", "Water supply",
         "Office costs", "Legal fees", "Loan interest", "Depreciation", "Winter storage", "Pontoon hire"]
ROLES = ["Harbour master", "Deputy harbour master", "Engineer", "Accounts clerk", "Crane driver", "Museum keeper",
         "Lock keeper", "Diver", "Apprentice", "Night watchman", "Office manager", "Fuel attendant"]
REGIONS = ["North Coast", "East Bay", "Islands", "River Valley", "South Hills", "West Moor", "Lakeside", "Capital District"]
MONTHS = ["January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November",
          "December"]
SHORT_MONTHS = [m[:3] for m in MONTHS]


def money(rng, low=200, high=60000):
    return f"{rng.randint(low, high):,}"


def accounts(rng, count, years=(2023, 2024), label="Item"):
    rows = [[label] + [str(y) for y in years]]
    for item in rng.sample(ITEMS, count):
        rows.append([item] + [money(rng) for _ in years])
    return rows


def staff(p, count):
    rows = [["Name", "Role", "Telephone", "Room"]]
    for _ in range(count):
        rows.append([p.person(), p.pick(ROLES), f"01{p.rng.randint(100, 999)} {p.rng.randint(100000, 999999)}",
                     f"{p.pick('ABC')}{p.rng.randint(1, 30)}"])
    return rows


def timetable(p, count):
    rows = [["Departs", "From", "To", "Arrives", "Days"]]
    minute = 6 * 60 + 10
    for _ in range(count):
        minute += p.rng.randint(25, 70)
        a, b = p.rng.sample(text.PLACES, 2)
        arrive = minute + p.rng.randint(20, 95)
        rows.append([f"{minute // 60:02}:{minute % 60:02}", a, b, f"{arrive // 60 % 24:02}:{arrive % 60:02}",
                     p.pick(["Daily", "Mon to Fri", "Weekends", "Sat only", "Summer"])])
    return rows


def shares(rng, count, columns=("2022", "2023", "2024")):
    rows = [["Region"] + list(columns)]
    for region in rng.sample(REGIONS, count):
        rows.append([region] + [f"{rng.uniform(2, 60):.1f}%" for _ in columns])
    return rows


# Writer documents.
def boxed_article(d, box, paragraphs, heading):
    """Paragraphs with a box beside the first, a heading after the fourth."""
    d.para_with(box, paragraphs[0])
    for para in paragraphs[1:4]:
        d.para(para)
    d.heading(heading)
    for para in paragraphs[4:]:
        d.para(para)
    return d



def writer_report_ruled(name):
    p = text.Prose(101)
    t = Truth(name, "LibreOffice Writer", "A three-page report in a serif font with ruled tables, one with a spanned heading")
    d = WriterDoc(t, font="Liberation Serif", size=11, heading_font="Liberation Sans", head="Harbour board annual report")
    d.title(p.title(), "Report of the harbour board to the town council")
    for heading in p.headings(3):
        d.heading(heading)
        for para in p.paragraphs(3):
            d.para(para)
    d.heading("Income and spending")
    d.para(p.paragraph(3))
    rows = accounts(p.rng, 10)
    d.table(rows, "ruled", [3, 1, 1])
    d.para(p.paragraph(4))
    d.heading("Boats by size")
    d.table([[("Length of boat", 1), ("Boats registered", 3)], ["", "2022", "2023", "2024"]]
            + [[f"{a} to {a + 4} m"] + [str(p.rng.randint(3, 40)) for _ in range(3)] for a in range(4, 24, 5)], "ruled", [3, 1, 1, 1],
            head_rows=2)
    for para in p.paragraphs(3):
        d.para(para)
    return d


def writer_shaded_header(name):
    p = text.Prose(102)
    t = Truth(name, "LibreOffice Writer", "A one-page memo with a table of shaded cells and a dark header, no rulings")
    d = WriterDoc(t, font="DejaVu Sans", size=10, justify=False, page_numbers=False)
    d.title("Memo: " + p.title())
    d.para(f"To: all staff. From: {p.person()}, office manager. Date: 12 March 2024.", kind="heading")
    for para in p.paragraphs(2):
        d.para(para)
    d.table(staff(p, 9), "shaded-header", [3, 3, 2.5, 1])
    for para in p.paragraphs(2):
        d.para(para)
    return d


def writer_banded_rows(name):
    p = text.Prose(103)
    t = Truth(name, "LibreOffice Writer", "A two-page Letter-size timetable with banded rows and a tinted header")
    d = WriterDoc(t, font="Liberation Sans", size=10, page=(21.59, 27.94), margins=2.2, justify=False)
    d.title("Coastal bus and ferry timetable", "Valid from the first of May until the end of September")
    d.para(p.paragraph(4))
    d.table(timetable(p, 30), "banded", [1.2, 2, 2, 1.2, 1.5])
    for para in p.paragraphs(3):
        d.para(para)
    return d


def writer_tinted_column(name):
    p = text.Prose(104)
    t = Truth(name, "LibreOffice Writer", "A budget note in a book face with a table whose current-year column is tinted")
    d = WriterDoc(t, font="Linux Libertine O", size=11.5)
    d.title("Budget for the coming year")
    for para in p.paragraphs(2):
        d.para(para)
    d.table(accounts(p.rng, 12, (2022, 2023, 2024, 2025)), "tinted-column", [3, 1, 1, 1, 1], tinted_column=4)
    d.para(p.paragraph(5))
    d.heading("Remarks")
    for para in p.paragraphs(2):
        d.para(para)
    return d


def writer_hrules(name):
    p = text.Prose(105)
    t = Truth(name, "LibreOffice Writer", "A study with two tables ruled above and below only, in FreeSerif")
    d = WriterDoc(t, font="FreeSerif", size=11)
    d.title("Sand movement at the river mouth", "Measurements of the spring and autumn surveys")
    for heading in ("Method", "Results"):
        d.heading(heading)
        for para in p.paragraphs(2):
            d.para(para)
    d.table([["Station", "Depth (m)", "Grain (mm)", "Change (cm)"]]
            + [[f"S{i}", f"{p.rng.uniform(1, 9):.1f}", f"{p.rng.uniform(0.1, 2):.2f}", f"{p.rng.uniform(-30, 30):+.0f}"] for i in range(1, 11)],
            "hrules", [2, 1, 1, 1], width_cm=12)
    d.para(p.paragraph(4))
    d.table(shares(p.rng, 5), "hrules", [3, 1, 1, 1], width_cm=12)
    d.heading("Discussion")
    for para in p.paragraphs(2):
        d.para(para)
    return d


def writer_two_columns(name):
    p = text.Prose(106)
    t = Truth(name, "LibreOffice Writer", "A newsletter: a title across the page, then three pages of text in two columns")
    d = WriterDoc(t, font="Liberation Serif", size=10, head="Quillport Harbour News")
    d.title("Quillport Harbour News", "Spring issue")
    d.columns(2)
    for heading in p.headings(6):
        d.heading(heading, 2)
        for para in p.paragraphs(p.rng.randint(2, 4)):
            d.para(para)
    d.end_columns()
    return d


def writer_three_columns(name):
    p = text.Prose(107)
    t = Truth(name, "LibreOffice Writer", "A landscape bulletin in three columns of DejaVu Serif")
    d = WriterDoc(t, font="DejaVu Serif", size=9, page=(29.7, 21.0), margins=1.5)
    d.title("Weekly bulletin of the coastal path trust")
    d.columns(3, 0.8)
    for heading in p.headings(7):
        d.heading(heading, 2)
        for para in p.paragraphs(2):
            d.para(para)
    d.end_columns()
    return d


def writer_mixed_columns(name):
    p = text.Prose(108)
    t = Truth(name, "LibreOffice Writer", "One column, then two, a table across the page, then three columns")
    d = WriterDoc(t, font="Liberation Serif", size=10.5)
    d.title(p.title())
    for para in p.paragraphs(2):
        d.para(para)
    d.columns(2)
    for para in p.paragraphs(5):
        d.para(para)
    d.end_columns()
    d.table(accounts(p.rng, 6), "ruled", [3, 1, 1])
    d.columns(3)
    for para in p.paragraphs(5):
        d.para(para)
    d.end_columns()
    return d


def writer_infobox(name):
    p = text.Prose(109)
    t = Truth(name, "LibreOffice Writer", "An article with a box at the right of the text: a picture, a caption and label rows")
    d = WriterDoc(t, font="Liberation Serif", size=11)
    d.title("Quillport Harbour Light")
    paragraphs = p.paragraphs(9)
    box = d.infobox("Quillport Harbour Light", 11, (5.5, 3.8), "The tower seen from the north pier",
                    [["Location", "Quillport, North Coast"], ["Constructed", "1862"], ["Height", "31 m"],
                     ["Range", "18 nautical miles"], ["Operator", "Northern Lights Board"], ["Automated", "1989"]])
    return boxed_article(d, box, paragraphs, "History")


def writer_sidebar(name):
    p = text.Prose(110)
    t = Truth(name, "LibreOffice Writer", "A report page with a tinted sidebar of key facts at the left, the text beside it")
    d = WriterDoc(t, font="Liberation Sans", size=10, justify=False)
    d.title("The ice plant after one year")
    box = d.sidebar("Key facts", [p.sentence() for _ in range(4)])
    paragraphs = p.paragraphs(7)
    return boxed_article(d, box, paragraphs, "What comes next")


def writer_form(name):
    p = text.Prose(111)
    t = Truth(name, "LibreOffice Writer", "A two-page application form: ruled boxes to fill in, check boxes, numbered lines")
    d = WriterDoc(t, font="Liberation Sans", size=10, justify=False)
    d.title("Application for a mooring", "Harbour office of Quillport, form M2")
    d.form_text("Please write in capitals and use black ink. Return the form to the harbour office before the end of February.")
    d.table([["Surname", "First names"], ["Kowalski", "Maria Elin"], ["Address", "Telephone"],
             ["12 Quay Street, Quillport", "01632 960 118"]], "ruled-plain", [1, 1], head_rows=0)
    d.heading("The boat")
    d.checks("Kind of boat:", ["Fishing", "Sailing", "Motor", "Other"], checked=(1,))
    d.checks("Is the boat insured?", ["Yes", "No"], checked=(0,))
    d.table([["Line", "Detail", "Answer"]] + [[str(i + 1), q, a] for i, (q, a) in enumerate([
        ("Name of the boat", "Gull"), ("Length overall in metres", "8.4"), ("Beam in metres", "2.9"),
        ("Draught in metres", "1.3"), ("Year built", "1998"), ("Engine power in kilowatts", "22"),
        ("Port of registry", "Quillport"), ("Registration number", "QP 118")])], "ruled", [1, 8, 4])
    d.heading("Mooring wanted", page_break=True)
    d.checks("Season:", ["Whole year", "Summer only", "Winter only"], checked=(0,))
    d.checks("Place:", ["Inner harbour", "Outer harbour", "River pontoon"], checked=(2,))
    d.form_text("I declare that the answers on this form are true and that I will keep to the harbour's rules.")
    d.table([["Signature", "Date"], ["", ""]], "ruled-plain", [1, 1], head_rows=0)
    d.heading("For the office")
    d.table([["Received", "Checked by", "Mooring number", "Fee"], ["", "", "", ""]], "ruled", [1, 1, 1, 1])
    return d


def writer_title_block(name):
    p = text.Prose(112)
    t = Truth(name, "LibreOffice Writer", "A paper: a title block of three authors side by side, an abstract, two columns with footnotes")
    d = WriterDoc(t, font="Linux Libertine O", size=10, head="Proceedings of the Coastal Engineering Meeting", page_numbers=True)
    d.title_block("Measuring the drift of sand along a short coast",
                  [["Ada Holm", "University of Quillport", "Department of Earth Sciences"],
                   ["Bram Dahl", "Harbour Institute", "Brackwater"],
                   ["Clara Moreau", "Coastal Laboratory", "Eastmouth"]])
    d.heading("Abstract", 2)
    d.para(p.paragraph(5))
    d.columns(2)
    for heading in ["1. Introduction", "2. Method", "3. Results", "4. Discussion"]:
        d.heading(heading, 2)
        for para in p.paragraphs(2):
            d.para(para, notes=[p.sentence()] if p.rng.random() < 0.4 else ())
    d.end_columns()
    d.table(shares(p.rng, 4), "hrules", [3, 1, 1, 1], width_cm=12)
    d.columns(2)
    d.heading("5. Conclusion", 2)
    for para in p.paragraphs(2):
        d.para(para)
    d.end_columns()
    return d


def writer_toc(name):
    p = text.Prose(113)
    t = Truth(name, "LibreOffice Writer", "A five-page guide: a table of contents, then a chapter on each page")
    d = WriterDoc(t, font="DejaVu Serif", size=10.5, heading_font="DejaVu Sans")
    chapters = p.headings(4)
    d.title("Guide for new harbour staff")
    d.toc([(f"{i + 1} {c}", i + 2) for i, c in enumerate(chapters)])
    d.para(p.paragraph(3))
    for i, chapter in enumerate(chapters):
        d.heading(f"{i + 1} {chapter}", page_break=True)
        for para in p.paragraphs(3, 3, 5):
            d.para(para)
    return d


def writer_footnotes(name):
    p = text.Prose(114)
    t = Truth(name, "LibreOffice Writer", "An essay in a serif font with a dozen footnotes over two pages")
    d = WriterDoc(t, font="Liberation Serif", size=12)
    d.title("The herring years", "An essay on the fishery and the town")
    for para in p.paragraphs(8, 4, 6):
        d.para(para, notes=[p.sentence() for _ in range(p.rng.randint(1, 2))])
    return d


def writer_arabic(name):
    rng = random.Random(115)
    t = Truth(name, "LibreOffice Writer", "An Arabic report, right to left, with a ruled table")
    d = WriterDoc(t, font="DejaVu Sans", size=12, complex_font="DejaVu Sans", language="ar-EG", rtl=True, justify=False)
    d.title("تقرير مجلس الميناء لعام ألفين وأربعة وعشرين")
    for _ in range(3):
        d.para(text.arabic_paragraph(rng, 3))
    d.heading("الإيرادات والمصروفات")
    d.table([["البند", "العام الماضي", "هذا العام"], ["رسوم الميناء", "12400", "13100"], ["بيع الوقود", "8300", "9050"],
             ["إيجار المخازن", "4100", "4100"], ["أجور العمال", "15600", "16200"], ["المجموع", "40400", "42450"]], "ruled", [3, 2, 2])
    for _ in range(3):
        d.para(text.arabic_paragraph(rng, 2))
    return d


def writer_chinese(name):
    rng = random.Random(116)
    t = Truth(name, "LibreOffice Writer", "A Chinese report in WenQuanYi Zen Hei with a ruled table")
    d = WriterDoc(t, font="WenQuanYi Zen Hei", size=11, language="zh-CN", justify=False)
    d.title("港口管理委员会年度报告")
    for _ in range(3):
        d.para(text.chinese_paragraph(rng, 4))
    d.heading("收入和支出")
    d.table([["项目", "去年", "今年"], ["港口费", "12400", "13100"], ["燃油销售", "8300", "9050"], ["仓库租金", "4100", "4100"],
             ["工人工资", "15600", "16200"], ["合计", "40400", "42450"]], "ruled", [3, 2, 2])
    d.heading("明年的计划")
    for _ in range(3):
        d.para(text.chinese_paragraph(rng, 3))
    return d


def writer_pictures(name):
    p = text.Prose(117)
    t = Truth(name, "LibreOffice Writer", "An illustrated guide: photographs of several sizes with captions over three pages")
    d = WriterDoc(t, font="FreeSerif", size=11)
    d.title("Walks around the harbour")
    sizes = [(15, 9), (8, 5.5), (12, 8), (5, 3.5), (16, 10), (9, 6)]
    for i, (w, h) in enumerate(sizes):
        d.heading(f"Walk {i + 1}: {p.place()}", 2)
        d.para(p.paragraph(3))
        d.picture(200 + i, w, h, f"Figure {i + 1}. The view from {p.place()} in {p.pick(MONTHS)}")
    return d


def writer_letter(name):
    p = text.Prose(118)
    t = Truth(name, "LibreOffice Writer", "A business letter: the sender's block, the address, date, subject, body and signature")
    d = WriterDoc(t, font="Liberation Sans", size=11, justify=False, page_numbers=False)
    d.para("Harbour Office, 1 Pier Road, Quillport QP1 2AB", kind="heading", style="Right")
    d.para("Ms Maria Kowalski, 12 Quay Street, Quillport QP3 9XY", kind="heading")
    d.para("14 March 2024", kind="heading", style="Right")
    d.para("Your application for a mooring", kind="heading", style="Strong")
    d.para("Dear Ms Kowalski,", kind="heading")
    for para in p.paragraphs(4, 3, 5):
        d.para(para)
    d.para("Yours sincerely,", kind="heading")
    d.para(f"{p.person()}, Harbour master", kind="heading")
    return d


def writer_minutes(name):
    p = text.Prose(119)
    t = Truth(name, "LibreOffice Writer", "Minutes of a meeting: a list of those present, numbered items, a table of actions")
    d = WriterDoc(t, font="Liberation Serif", size=11)
    d.title("Minutes of the harbour board", "Meeting held on 9 April 2024 in the town hall")
    d.table([["Present", "Role"]] + [[p.person(), p.pick(ROLES)] for _ in range(6)], "hrules", [1, 1], width_cm=12)
    for i, heading in enumerate(p.headings(4)):
        d.heading(f"{i + 1}. {heading}", 2)
        d.para(p.paragraph(p.rng.randint(3, 5)))
    d.heading("Actions")
    d.table([["Action", "Who", "By"]] + [[p.short(3, 6), p.person(), f"{p.rng.randint(1, 28)} {p.pick(MONTHS)}"] for _ in range(6)],
            "ruled", [4, 2, 1.5])
    return d


def writer_long_table(name):
    p = text.Prose(120)
    t = Truth(name, "LibreOffice Writer", "A price list: a ruled table of 60 rows running over two pages")
    d = WriterDoc(t, font="Liberation Sans", size=10, justify=False)
    d.title("Harbour charges 2024")
    d.para(p.paragraph(3))
    rows = [["Code", "Charge", "Unit", "Price"]]
    for i in range(60):
        rows.append([f"H{100 + i}", p.short(2, 5), p.pick(["per day", "per metre", "per tonne", "each", "per hour"]),
                     f"{p.rng.uniform(1, 400):.2f}"])
    d.table(rows, "ruled", [1, 5, 2, 1.5])
    d.para(p.paragraph(2))
    return d


# Calc documents.
def calc_statement(name):
    p = text.Prose(201)
    t = Truth(name, "LibreOffice Calc", "A financial statement: labels and numbers in columns, horizontal rules only")
    d = CalcDoc(t, font="Liberation Sans", size=10, margins=True)
    d.columns([9, 3, 3])
    d.title("Statement of income for the year")
    d.blank()
    rows = accounts(p.rng, 14, label="Income and costs")
    rows.append(["Net result", money(p.rng), money(p.rng)])
    d.table(rows, "hrules")
    d.blank()
    d.note("All amounts in crowns. The accounts were examined by the county auditor.")
    return d


def calc_banded(name):
    p = text.Prose(202)
    t = Truth(name, "LibreOffice Calc", "A list of 30 rows with banded rows and a tinted header, no rulings")
    d = CalcDoc(t, font="DejaVu Sans", size=9, margins=False)
    d.columns([4.5, 4, 3, 1.5])
    d.title("Harbour staff and rooms")
    d.blank()
    d.table(staff(p, 30), "banded")
    return d


def calc_ruled_grid(name):
    p = text.Prose(203)
    t = Truth(name, "LibreOffice Calc", "A ruled price grid of 75 rows over two pages")
    d = CalcDoc(t, font="Liberation Sans", size=10)
    d.columns([2, 6, 3, 2.5])
    d.title("Chandlery price list")
    d.blank()
    rows = [["Code", "Article", "Unit", "Price"]]
    for i in range(75):
        rows.append([f"C{300 + i}", p.short(2, 4), p.pick(["each", "per metre", "per litre", "box of 10"]), f"{p.rng.uniform(1, 250):.2f}"])
    d.table(rows, "ruled")
    return d


def calc_bar_chart(name):
    p = text.Prose(204)
    t = Truth(name, "LibreOffice Calc", "Landings by port: a small table and a bar chart of it")
    d = CalcDoc(t, font="Liberation Sans", size=10, margins=False)
    d.columns([4, 2.5, 2.5, 2.5, 2.5])
    d.title("Landings by port in 2024")
    d.blank()
    ports = p.rng.sample(text.PLACES, 5)
    rows = [["Port", "Cod", "Haddock", "Herring"]] + [[port] + [str(p.rng.randint(2, 48)) for _ in range(3)] for port in ports]
    cells = d.table(rows, "shaded-header", numeric=True)
    d.note("Tonnes landed, from the harbour offices' returns.")
    d.chart("bar", cells, "Landings by port", "Port", "Tonnes", rows[0][1:], ports, (0, 50, 10), 13.5, 8)
    return d


def calc_line_chart(name):
    p = text.Prose(205)
    t = Truth(name, "LibreOffice Calc", "Twelve months of visitors and a line chart of them")
    d = CalcDoc(t, font="Liberation Sans", size=10, margins=False)
    d.columns([4, 3, 3, 3])
    d.title("Visitors to the museum")
    d.blank()
    rows = [["Month", "2023", "2024"]] + [[m, str(p.rng.randint(100, 900)), str(p.rng.randint(100, 900))] for m in SHORT_MONTHS]
    cells = d.table(rows, "hrules", numeric=True)
    d.chart("line", cells, "Visitors per month", "Month", "Visitors", ["2023", "2024"], SHORT_MONTHS, (0, 1000, 200), 12.5, 8)
    return d


def calc_pie_chart(name):
    p = text.Prose(206)
    t = Truth(name, "LibreOffice Calc", "Shares of the catch and a pie chart with its legend")
    d = CalcDoc(t, font="DejaVu Sans", size=10, margins=True)
    d.columns([5, 3, 3, 3])
    d.title("Catch by species")
    d.blank()
    species = ["Cod", "Haddock", "Herring", "Mackerel", "Plaice", "Crab"]
    rows = [["Species", "Tonnes"]] + [[s, str(p.rng.randint(20, 400))] for s in species]
    cells = d.table(rows, "ruled", numeric=True)
    d.chart("circle", cells, "Share of the catch", None, None, [], species, None, 12, 8)
    return d


def calc_tinted_column(name):
    p = text.Prose(207)
    t = Truth(name, "LibreOffice Calc", "A landscape budget with the current year's column tinted")
    d = CalcDoc(t, font="Liberation Sans", size=10, landscape=True)
    d.columns([7, 3, 3, 3, 3, 3])
    d.title("Five-year budget")
    d.blank()
    d.table(accounts(p.rng, 15, (2021, 2022, 2023, 2024, 2025)), "tinted-column", tinted_column=4)
    d.blank()
    d.note("The year 2024 is the current year; 2025 is a forecast.")
    return d


def calc_two_blocks(name):
    p = text.Prose(208)
    t = Truth(name, "LibreOffice Calc", "Two tables on one sheet with a gap between, and a bar chart")
    d = CalcDoc(t, font="Liberation Sans", size=10, margins=False)
    d.columns([5, 3, 3, 3])
    d.title("Fleet and crews")
    d.blank()
    d.table(accounts(p.rng, 5, (2023, 2024), "Costs"), "ruled")
    d.blank(2)
    kinds = ["Trawlers", "Netters", "Potters", "Anglers"]
    rows = [["Boats", "Crew", "Boats owned"]] + [[k, str(p.rng.randint(3, 40)), str(p.rng.randint(2, 30))] for k in kinds]
    cells = d.table(rows, "banded", numeric=True)
    d.chart("bar", cells, "Crews and boats", "Kind of boat", "Number", ["Crew", "Boats owned"], kinds, (0, 40, 10), 13, 7.5)
    return d


# Impress and Draw documents.
def impress_sidebar(name):
    p = text.Prose(301)
    t = Truth(name, "LibreOffice Impress", "Three slides: bullets beside a tinted sidebar holding key figures and a picture")
    d = SlideDoc(t)
    for i in range(3):
        d.new_page()
        d.title(p.title(), w=17)
        d.text([p.sentence()[:-1] for _ in range(4)], 1.2, 3.2, 16.5, 11, size=18, bullets=True)
        d.text([f"{p.rng.randint(2, 90)} {p.short(2, 4).lower()}" for _ in range(4)], 19, 0, 9, 15.75, size=14, kind="box",
               fill="#dbe8f5", heading="Key figures")
        d.picture(400 + i, 19.8, 9.8, 7.4, 5)
    return d


def impress_two_columns(name):
    p = text.Prose(302)
    t = Truth(name, "LibreOffice Impress", "Two slides, each with a title and two columns of bullets side by side")
    d = SlideDoc(t)
    for _ in range(2):
        d.new_page()
        d.title(p.title())
        d.text([p.sentence()[:-1] for _ in range(4)], 1.2, 3.2, 12.3, 11.5, size=16, bullets=True)
        d.text([p.sentence()[:-1] for _ in range(4)], 14.5, 3.2, 12.3, 11.5, size=16, bullets=True)
    return d


def impress_flow_diagram(name):
    p = text.Prose(303)
    t = Truth(name, "LibreOffice Impress", "A flow diagram of labelled boxes and arrows, then a slide of text")
    d = SlideDoc(t)
    d.new_page()
    d.title("How a landing is recorded")
    d.diagram([("Boat lands catch", 1.5, 4, 5.5, 2), ("Weighing at the quay", 9, 4, 5.5, 2), ("Auction hall", 16.5, 4, 5.5, 2),
               ("Buyer's lorry", 16.5, 10, 5.5, 2), ("Harbour office", 9, 10, 5.5, 2), ("County returns", 1.5, 10, 5.5, 2)],
              [(0, 1), (1, 2), (2, 3), (1, 4), (4, 5)])
    d.new_page()
    d.title("What changes this year")
    d.text([p.sentence()[:-1] for _ in range(5)], 1.2, 3.2, 25, 11, size=18, bullets=True)
    return d


def impress_org_chart(name):
    t = Truth(name, "LibreOffice Impress", "An organisation chart: a tree of named boxes")
    d = SlideDoc(t)
    d.new_page()
    d.title("Who runs the harbour")
    boxes = [("Harbour board", 10.5, 3, 7, 1.8), ("Harbour master", 10.5, 6, 7, 1.8), ("Engineer", 1.5, 9.5, 6, 1.8),
             ("Office manager", 8.5, 9.5, 6, 1.8), ("Museum keeper", 15.5, 9.5, 6, 1.8), ("Divers", 1.5, 12.8, 6, 1.8),
             ("Accounts clerk", 8.5, 12.8, 6, 1.8), ("Night watch", 22, 9.5, 5, 1.8)]
    d.diagram(boxes, [(0, 1), (1, 2), (1, 3), (1, 4), (1, 7), (2, 5), (3, 6)], size=13, shape="rectangle")
    return d


def impress_title_slides(name):
    p = text.Prose(305)
    t = Truth(name, "LibreOffice Impress", "A title slide, an agenda and a closing slide with a picture")
    d = SlideDoc(t, page=(25.4, 19.05))
    d.new_page()
    d.title("Annual meeting of the harbour board", 2, 5, 21, 3, size=34)
    d.text(["Quillport, 9 April 2024"], 2, 8.5, 21, 2, size=20, kind="heading", align="center")
    d.new_page()
    d.title("Agenda", size=30)
    d.text([f"{i + 1}. {h}" for i, h in enumerate(p.headings(6))], 1.5, 3.5, 22, 14, size=20)
    d.new_page()
    d.title("Thank you", size=30)
    d.text([p.sentence()], 1.5, 3.5, 11, 8, size=18)
    d.picture(501, 13.5, 3.5, 10, 7)
    return d


def draw_process(name):
    p = text.Prose(306)
    t = Truth(name, "LibreOffice Draw", "A landscape page: a title, a paragraph, a process diagram and a note")
    d = SlideDoc(t, kind="drawing", page=(29.7, 21.0))
    d.new_page()
    d.title("Repairing a pontoon", 2, 1.2, 25, 1.6, size=24)
    d.text([p.paragraph(3)], 2, 3.2, 25.5, 3, size=12)
    d.diagram([("Report damage", 2, 7.5, 4.5, 1.8), ("Inspect", 8, 7.5, 4.5, 1.8), ("Order parts", 14, 7.5, 4.5, 1.8),
               ("Close pontoon", 8, 11, 4.5, 1.8), ("Repair", 20, 7.5, 4.5, 1.8), ("Test and reopen", 20, 11, 4.5, 1.8)],
              [(0, 1), (1, 2), (1, 3), (2, 4), (4, 5)], size=12)
    d.text([p.paragraph(2)], 2, 15, 25.5, 3, size=11)
    return d


def draw_network(name):
    p = text.Prose(307)
    t = Truth(name, "LibreOffice Draw", "A portrait page: the harbour's radio network as ellipses, with text above and below")
    d = SlideDoc(t, kind="drawing", page=(21.0, 29.7))
    d.new_page()
    d.title("Radio network of the harbour", 2, 1.5, 17, 1.6, size=22)
    d.text(p.paragraphs(2, 2, 3), 2, 3.5, 17, 5, size=11)
    d.diagram([("Control tower", 7.5, 9.5, 6, 2.2), ("Pier head", 2, 14, 5, 2), ("Lifeboat station", 8, 14, 5, 2),
               ("Ice plant", 14, 14, 5, 2), ("Pilot boat", 5, 18.5, 5, 2), ("Fuel quay", 11, 18.5, 5, 2)],
              [(0, 1), (0, 2), (0, 3), (2, 4), (2, 5)], size=11, shape="ellipse")
    d.text(p.paragraphs(1, 3, 3), 2, 22, 17, 4, size=11)
    return d


# Web pages printed by Chromium.
def chromium_infobox(name):
    p = text.Prose(401)
    t = Truth(name, "Chromium", "An encyclopedia article with an infobox floating at the right: picture, caption, label rows")
    d = HtmlDoc(t, font="'DejaVu Sans', sans-serif", size=14, infobox=300)
    d.heading("Eastmouth Ferry")
    d.infobox("Eastmouth Ferry", 21, (260, 170), "The ferry leaving Eastmouth in 2021",
              [["Route", "Eastmouth to Saltmere"], ["Opened", "1931"], ["Crossing time", "25 minutes"], ["Vessels", "2"],
               ["Operator", "Coastal Ferries"], ["Passengers", "410,000 a year"], ["Vehicles", "62,000 a year"]])
    for para in p.paragraphs(3):
        d.p(para)
    d.heading("History", 2)
    for para in p.paragraphs(3):
        d.p(para)
    d.heading("Vessels", 2)
    for para in p.paragraphs(3):
        d.p(para)
    return d


def chromium_two_columns(name):
    p = text.Prose(402)
    t = Truth(name, "Chromium", "A news article set in two columns by CSS, with a picture across the top")
    d = HtmlDoc(t, font="'Liberation Serif', serif", size=15)
    d.heading(p.title())
    d.figure(22, 640, 260, "The north pier at low tide")
    d.columns(2)
    for heading in p.headings(4):
        d.heading(heading, 3)
        for para in p.paragraphs(2):
            d.p(para)
    d.end()
    return d


def chromium_three_columns(name):
    p = text.Prose(403)
    t = Truth(name, "Chromium", "A newsletter set in three columns by CSS, two pages")
    d = HtmlDoc(t, font="'DejaVu Serif', serif", size=12)
    d.heading("Saltmere Parish Newsletter")
    d.columns(3)
    for heading in p.headings(8):
        d.heading(heading, 3)
        for para in p.paragraphs(2):
            d.p(para)
    d.end()
    return d


def chromium_shaded_table(name):
    p = text.Prose(404)
    t = Truth(name, "Chromium", "A table of tinted cells with white gaps between them and a dark header, no rulings")
    d = HtmlDoc(t, font="'Liberation Sans', sans-serif", size=14)
    d.heading("Interest rates for savers")
    d.p(p.paragraph(3))
    rows = [["Account", "Term", "Rate", "Minimum deposit"]]
    for _ in range(9):
        rows.append([p.pick(["Harbour Saver", "Fixed Bond", "Young Saver", "Easy Access", "Notice Account"]) + f" {p.rng.randint(1, 9)}",
                     p.pick(["1 year", "2 years", "3 years", "none", "90 days"]), f"{p.rng.uniform(0.5, 5):.2f}%", money(p.rng, 1, 10000)])
    d.table(rows, "shaded", width="100%")
    d.p(p.paragraph(3))
    return d


def chromium_banded_table(name):
    p = text.Prose(405)
    t = Truth(name, "Chromium", "Statistics by region: banded rows and a tinted column, two tables")
    d = HtmlDoc(t, font="'DejaVu Sans', sans-serif", size=13)
    d.heading("Households by region")
    d.p(p.paragraph(3))
    d.table(shares(p.rng, 8, ("2021", "2022", "2023", "2024")), "banded", width="90%")
    d.p(p.paragraph(2))
    d.table(accounts(p.rng, 7, (2022, 2023, 2024)), "tinted", tinted_column=3, width="80%")
    d.p(p.paragraph(2))
    return d


def chromium_hrules_table(name):
    p = text.Prose(406)
    t = Truth(name, "Chromium", "A study's results table ruled above, below and under the header only")
    d = HtmlDoc(t, font="'Liberation Serif', serif", size=15)
    d.heading("Water quality at the bathing beaches")
    for para in p.paragraphs(2):
        d.p(para)
    rows = [["Beach", "Samples", "Excellent", "Good", "Poor"]]
    for place in p.rng.sample(text.PLACES, 8):
        rows.append([f"{place} beach", str(p.rng.randint(10, 30)), str(p.rng.randint(5, 20)), str(p.rng.randint(0, 8)),
                     str(p.rng.randint(0, 3))])
    d.table(rows, "hrules", width="85%")
    for para in p.paragraphs(2):
        d.p(para)
    return d


def chromium_sidebar(name):
    p = text.Prose(407)
    t = Truth(name, "Chromium", "A web page with a tinted sidebar at the left and the article flowing beside it")
    d = HtmlDoc(t, font="'FreeSans', sans-serif", size=14, sidebar=190, side="left")
    d.heading("Visiting the shipyard")
    d.sidebar("Opening times", ["Monday to Friday, nine to five.", "Saturday, ten to four.", "Closed on Sundays and on public holidays.",
                                "Guided tours leave from the gate at eleven and at two."])
    for para in p.paragraphs(6):
        d.p(para)
    return d


def chromium_hebrew(name):
    rng = random.Random(408)
    t = Truth(name, "Chromium", "A Hebrew article, right to left, with a ruled table")
    d = HtmlDoc(t, font="'DejaVu Sans', sans-serif", size=15, lang="he", direction="rtl")
    d.heading("דוח ועד הנמל לשנת 2024")
    for _ in range(3):
        d.p(text.hebrew_paragraph(rng, 3))
    d.heading("הכנסות והוצאות", 2)
    d.table([["סעיף", "שנה שעברה", "השנה"], ["דמי נמל", "12400", "13100"], ["מכירת דלק", "8300", "9050"],
             ["שכר עובדים", "15600", "16200"], ["סך הכול", "36300", "38350"]], "ruled", width="70%")
    for _ in range(2):
        d.p(text.hebrew_paragraph(rng, 3))
    return d


def chromium_chinese(name):
    rng = random.Random(409)
    t = Truth(name, "Chromium", "A Chinese web page with headings, paragraphs and a banded table")
    d = HtmlDoc(t, font="'WenQuanYi Zen Hei', sans-serif", size=15, lang="zh")
    d.heading("渔港旅游指南")
    for _ in range(2):
        d.p(text.chinese_paragraph(rng, 4))
    d.heading("开放时间", 2)
    d.table([["地点", "开放时间", "门票"], ["博物馆", "九点到五点", "二十元"], ["灯塔", "十点到四点", "十元"], ["渔市", "六点到十二点", "免费"],
             ["船厂", "九点到三点", "十五元"]], "banded", width="70%")
    for _ in range(2):
        d.p(text.chinese_paragraph(rng, 4))
    return d


def chromium_form(name):
    p = text.Prose(410)
    t = Truth(name, "Chromium", "A web form printed: labelled boxes in a ruled table and lines of check boxes")
    d = HtmlDoc(t, font="'Liberation Sans', sans-serif", size=14)
    d.heading("Booking a guided tour")
    d.p(p.paragraph(2))
    d.form([["Name", "Jonas Lindqvist"], ["Email", "jonas@example.org"], ["Date of the visit", "14 June 2024"],
            ["Number of people", "6"], ["Language", "English"]],
           [("Tour:", ["Lighthouse", "Shipyard", "Fish market", "Museum"], (0, 3)),
            ("Needs:", ["Wheelchair access", "Hearing loop", "Parking"], (2,)),
            ("Newsletter:", ["Yes, send me news", "No, thank you"], (1,))])
    d.p(p.paragraph(2))
    return d


def chromium_bar_chart(name):
    p = text.Prose(411)
    t = Truth(name, "Chromium", "An article with a bar chart drawn as SVG and the table of its numbers")
    d = HtmlDoc(t, font="'DejaVu Sans', sans-serif", size=14)
    d.heading("More passengers on the ferries")
    d.p(p.paragraph(4))
    years = ["2019", "2020", "2021", "2022", "2023", "2024"]
    values = [p.rng.randint(150, 480) for _ in years]
    d.svg_bar_chart("Passengers in thousands", years, values, (0, 500, 100), y_title="Thousands")
    d.p(p.paragraph(3))
    d.table([["Year", "Passengers (thousands)"]] + [[y, str(v)] for y, v in zip(years, values)], "ruled", width="50%")
    return d


def chromium_diagram(name):
    p = text.Prose(412)
    t = Truth(name, "Chromium", "A page with a flow diagram of labelled boxes drawn as SVG between paragraphs")
    d = HtmlDoc(t, font="'Liberation Serif', serif", size=15)
    d.heading("How a complaint is handled")
    for para in p.paragraphs(2):
        d.p(para)
    d.svg_diagram([("Complaint received", 20, 10, 170, 50), ("Logged by the office", 240, 10, 180, 50),
                   ("Sent to the manager", 470, 10, 170, 50), ("Reply within ten days", 240, 120, 180, 50)],
                  [(0, 1), (1, 2), (1, 3)], 660, 190)
    for para in p.paragraphs(3):
        d.p(para)
    return d


def chromium_footnotes(name):
    p = text.Prose(413)
    t = Truth(name, "Chromium", "A two-page essay with numbered notes at its end, printed with Chromium's header and footer")
    d = HtmlDoc(t, font="'Liberation Serif', serif", size=16)
    d.heading("The railway comes to the coast")
    for para in p.paragraphs(8, 4, 6):
        d.p(para, notes=[p.sentence()] if p.rng.random() < 0.7 else ())
    d.notes_list()
    return d


def chromium_long_table(name):
    p = text.Prose(414)
    t = Truth(name, "Chromium", "A ruled register of 70 rows over three pages, after an introduction")
    d = HtmlDoc(t, font="'DejaVu Sans', sans-serif", size=13)
    d.heading("Register of boats")
    d.p(p.paragraph(3))
    rows = [["Number", "Name", "Owner", "Length (m)", "Port"]]
    for i in range(70):
        rows.append([f"QP {100 + i}", p.pick(["Gull", "Petrel", "Morning Star", "Silver Dart", "Kittiwake", "Hope", "Provider"]) + f" {p.pick('ABCDEFG')}",
                     p.person(), f"{p.rng.uniform(4, 24):.1f}", p.place()])
    d.table(rows, "ruled", width="100%")
    return d


# Web pages printed by LibreOffice.
def office_html_report(name):
    p = text.Prose(501)
    t = Truth(name, "LibreOffice (HTML)", "A web page printed by LibreOffice: headings, paragraphs, a ruled table and a picture")
    d = HtmlDoc(t, font="'Liberation Serif', serif", size=15)
    d.heading("Report of the lifeboat station")
    for para in p.paragraphs(2):
        d.p(para)
    d.figure(31, 420, 240, "The lifeboat on its slipway")
    d.heading("Launches in the year", 2)
    d.table([["Month", "Launches", "People helped"]] + [[m, str(p.rng.randint(0, 9)), str(p.rng.randint(0, 20))] for m in MONTHS[:8]],
            "ruled")
    for para in p.paragraphs(2):
        d.p(para)
    return d


def office_html_shaded(name):
    p = text.Prose(502)
    t = Truth(name, "LibreOffice (HTML)", "A web page printed by LibreOffice: a table of shaded cells and a list")
    d = HtmlDoc(t, font="'DejaVu Sans', sans-serif", size=14)
    d.heading("Courses at the harbour school")
    d.p(p.paragraph(3))
    d.table([["Course", "Weeks", "Starts", "Fee"]] + [[p.short(2, 4), str(p.rng.randint(2, 12)), f"{p.rng.randint(1, 28)} {p.pick(MONTHS)}",
                                                      money(p.rng, 50, 900)] for _ in range(8)], "shaded")
    d.bullets([p.sentence() for _ in range(4)])
    d.p(p.paragraph(2))
    return d


def office_html_columns(name):
    p = text.Prose(503)
    t = Truth(name, "LibreOffice (HTML)", "A long web page printed by LibreOffice over two pages: headings, paragraphs, a table ruled by lines")
    d = HtmlDoc(t, font="'FreeSerif', serif", size=16)
    d.heading(p.title())
    for heading in p.headings(4):
        d.heading(heading, 2)
        for para in p.paragraphs(2):
            d.p(para)
    d.table(accounts(p.rng, 6), "hrules")
    return d


DOCUMENTS = [
    ("writer-report-ruled", "office", ".fodt", writer_report_ruled),
    ("writer-shaded-header", "office", ".fodt", writer_shaded_header),
    ("writer-banded-rows", "office", ".fodt", writer_banded_rows),
    ("writer-tinted-column", "office", ".fodt", writer_tinted_column),
    ("writer-hrules", "office", ".fodt", writer_hrules),
    ("writer-two-columns", "office", ".fodt", writer_two_columns),
    ("writer-three-columns", "office", ".fodt", writer_three_columns),
    ("writer-mixed-columns", "office", ".fodt", writer_mixed_columns),
    ("writer-infobox", "office", ".fodt", writer_infobox),
    ("writer-sidebar", "office", ".fodt", writer_sidebar),
    ("writer-form", "office", ".fodt", writer_form),
    ("writer-title-block", "office", ".fodt", writer_title_block),
    ("writer-toc", "office", ".fodt", writer_toc),
    ("writer-footnotes", "office", ".fodt", writer_footnotes),
    ("writer-arabic", "office", ".fodt", writer_arabic),
    ("writer-chinese", "office", ".fodt", writer_chinese),
    ("writer-pictures", "office", ".fodt", writer_pictures),
    ("writer-letter", "office", ".fodt", writer_letter),
    ("writer-minutes", "office", ".fodt", writer_minutes),
    ("writer-long-table", "office", ".fodt", writer_long_table),
    ("calc-statement", "office", ".fods", calc_statement),
    ("calc-banded", "office", ".fods", calc_banded),
    ("calc-ruled-grid", "office", ".fods", calc_ruled_grid),
    ("calc-bar-chart", "office", ".fods", calc_bar_chart),
    ("calc-line-chart", "office", ".fods", calc_line_chart),
    ("calc-pie-chart", "office", ".fods", calc_pie_chart),
    ("calc-tinted-column", "office", ".fods", calc_tinted_column),
    ("calc-two-blocks", "office", ".fods", calc_two_blocks),
    ("impress-sidebar", "office", ".fodp", impress_sidebar),
    ("impress-two-columns", "office", ".fodp", impress_two_columns),
    ("impress-flow-diagram", "office", ".fodp", impress_flow_diagram),
    ("impress-org-chart", "office", ".fodp", impress_org_chart),
    ("impress-title-slides", "office", ".fodp", impress_title_slides),
    ("draw-process", "office", ".fodg", draw_process),
    ("draw-network", "office", ".fodg", draw_network),
    ("chromium-infobox", "chromium", ".html", chromium_infobox),
    ("chromium-two-columns", "chromium", ".html", chromium_two_columns),
    ("chromium-three-columns", "chromium", ".html", chromium_three_columns),
    ("chromium-shaded-table", "chromium", ".html", chromium_shaded_table),
    ("chromium-banded-table", "chromium", ".html", chromium_banded_table),
    ("chromium-hrules-table", "chromium", ".html", chromium_hrules_table),
    ("chromium-sidebar", "chromium", ".html", chromium_sidebar),
    ("chromium-hebrew", "chromium", ".html", chromium_hebrew),
    ("chromium-chinese", "chromium", ".html", chromium_chinese),
    ("chromium-form", "chromium", ".html", chromium_form),
    ("chromium-bar-chart", "chromium", ".html", chromium_bar_chart),
    ("chromium-diagram", "chromium", ".html", chromium_diagram),
    ("chromium-footnotes", "chromium", ".html", chromium_footnotes),
    ("chromium-long-table", "chromium", ".html", chromium_long_table),
    ("office-html-report", "office", ".html", office_html_report),
    ("office-html-shaded", "office", ".html", office_html_shaded),
    ("office-html-columns", "office", ".html", office_html_columns),
]

# Pages Chromium prints with its own header and footer (the date, the title, the address and
# the page number), as a reader's printout has them.
CHROMIUM_MARGINS = {"chromium-footnotes", "chromium-infobox"}
