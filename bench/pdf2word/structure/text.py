"""Text for the corpus: English prose on a town's affairs, and Arabic, Hebrew and Chinese
sentences, each the same for the same seed. Sentences are built from varied parts so that no
run of a few words repeats often: the measures find paragraphs by their first and last words."""
import random

SUBJECTS = [
    "The harbour board", "The new ferry service", "The council's planning committee", "A survey of the old quays",
    "The fishing cooperative", "Most of the winter visitors", "The railway company", "The museum's small staff",
    "Our volunteers", "The water authority", "A group of local engineers", "The lifeboat crew", "The primary school",
    "The regional library", "Every household on the hill", "The market traders", "The weather station",
    "The ice plant", "The town's two bakeries", "A committee of residents", "The coastal path trust",
    "The shipyard", "Several smaller farms", "The county archive", "The community orchestra",
    "A visiting delegation", "The evening classes", "The sailing club", "The bridge inspectors", "The health centre",
]
VERBS = [
    "reported", "agreed", "recorded", "proposed", "completed", "reviewed", "measured", "published", "questioned",
    "welcomed", "postponed", "examined", "described", "approved", "planned", "rebuilt", "counted", "improved",
    "repaired", "announced", "compared", "financed", "delayed", "surveyed", "replaced",
]
OBJECTS = [
    "the cost of the new breakwater", "a steady rise in landings", "the repairs to the north pier",
    "a timetable for the summer months", "the condition of the lighthouse gallery", "plans for a second slipway",
    "the accounts of the previous year", "a shortage of trained divers", "the route of the coastal bus",
    "fresh samples from the river mouth", "the height of the spring tides", "a new roof for the fish market",
    "the number of boats in the fleet", "an exhibition of early photographs", "a loan for the ice plant",
    "the lighting along the promenade", "the drainage of the lower fields", "a grant for the harbour school",
    "the damage caused by the January storm", "the wages of the seasonal staff", "a proposal to widen the quay",
    "the records of the herring fleet", "the supply of fresh water to the islands", "a study of sand movement",
    "the opening hours of the library", "the safety of the old railway bridge", "the price of diesel at the pumps",
    "a scheme to plant trees on the dunes", "the results of the autumn count", "the design of the new footbridge",
]
TAILS = [
    "after a long discussion", "before the end of March", "with the help of the county", "in spite of the weather",
    "for the third year running", "at a public meeting in the town hall", "within the agreed budget",
    "earlier than most people expected", "on the advice of the engineers", "without any further delay",
    "during the autumn gales", "as part of the ten year plan", "once the surveyors had finished",
    "in a short written statement", "at the request of the harbour master", "over the course of the summer",
    "while the quay was closed", "to the surprise of many members", "in close cooperation with the school",
    "at a fraction of the original estimate",
]
CLAUSES = [
    "which pleased the members who had argued for it", "although the final figures are not yet known",
    "because the old equipment could no longer be trusted", "so that the work can start in the spring",
    "and the results will be shown in the museum", "but several questions remain open",
    "while the boats were laid up for repairs", "since the grant covers only half of the cost",
    "and a full report will follow in the autumn", "which means that fewer boats will need to wait",
    "though some residents would have preferred a delay", "as the tide tables had predicted",
    "and the figures agree with those of the county", "so that visitors can find their way more easily",
]
OPENERS = ["In the same month", "Later that year", "As a result", "For the first time", "At the same time",
           "In the weeks that followed", "By the end of the season", "On the other hand", "In practice",
           "According to the minutes", "Before the work began", "Since then"]

TOPICS = ["Harbour", "Ferry", "Library", "Fishery", "Railway", "Water", "Lighthouse", "Market", "Museum",
          "School", "Orchestra", "Shipyard", "Orchard", "Bridge", "Dunes", "Archive", "Weather", "Coast"]
NOUNS = ["Report", "Review", "Survey", "Plan", "Accounts", "Notes", "Study", "Bulletin", "Guide", "Minutes"]
HEADINGS = ["Background", "Aims of the work", "What we found", "Costs and funding", "The season in brief",
            "Staff and volunteers", "Buildings and equipment", "Visitors", "Safety", "Next steps",
            "Results", "Method", "Discussion", "Summary", "Acknowledgements", "History", "Design",
            "Operations", "Finance", "Outlook", "Maintenance", "Training", "Partners", "Risks"]
FIRST_NAMES = ["Ada", "Bram", "Clara", "Dmitri", "Elin", "Farid", "Greta", "Hugo", "Ines", "Jonas", "Kaja",
               "Lior", "Mara", "Niko", "Oona", "Piet", "Rosa", "Sami", "Tove", "Umar", "Vera", "Wim"]
LAST_NAMES = ["Albers", "Brandt", "Carvalho", "Dahl", "Eriksen", "Fontaine", "Garber", "Holm", "Ibarra",
              "Jansen", "Kowalski", "Lindqvist", "Moreau", "Nygaard", "Okafor", "Petrov", "Quist", "Rahman"]
PLACES = ["Quillport", "Brackwater", "Eastmouth", "Saltmere", "Gullhaven", "Norrby", "Tidewell", "Ravenscar",
          "Marsh End", "Kelpford", "Stonehythe", "Westerby"]


class Prose:
    def __init__(self, seed):
        self.rng = random.Random(seed)

    def pick(self, items):
        return self.rng.choice(items)

    def sentence(self):
        r = self.rng.random()
        core = f"{self.pick(SUBJECTS)} {self.pick(VERBS)} {self.pick(OBJECTS)}"
        if r < 0.3:
            text = f"{self.pick(OPENERS)}, {core[0].lower() + core[1:]} {self.pick(TAILS)}"
        elif r < 0.65:
            text = f"{core} {self.pick(TAILS)}, {self.pick(CLAUSES)}"
        else:
            text = f"{core} {self.pick(TAILS)}"
        if self.rng.random() < 0.25:
            text += f", and {self.rng.randint(3, 96)} people took part"
        return text + "."

    def paragraph(self, sentences):
        return " ".join(self.sentence() for _ in range(sentences))

    def paragraphs(self, count, low=3, high=6):
        return [self.paragraph(self.rng.randint(low, high)) for _ in range(count)]

    def title(self):
        return f"{self.pick(PLACES)} {self.pick(TOPICS)} {self.pick(NOUNS)} {self.rng.randint(2019, 2025)}"

    def headings(self, count):
        return self.rng.sample(HEADINGS, count)

    def person(self):
        return f"{self.pick(FIRST_NAMES)} {self.pick(LAST_NAMES)}"

    def place(self):
        return self.pick(PLACES)

    def short(self, words_low=2, words_high=5):
        """A few words of a label or a cell."""
        words = " ".join(self.pick(OBJECTS).split()[1:]).split()
        n = min(len(words), self.rng.randint(words_low, words_high))
        text = " ".join(words[:n])
        return text[0].upper() + text[1:]

    def amount(self, low=100, high=99999, decimals=0):
        value = self.rng.uniform(low, high)
        return f"{value:,.{decimals}f}"


ARABIC_SUBJECTS = ["مجلس الميناء", "سكان المدينة", "لجنة التخطيط", "مدرسة القرية", "فريق المهندسين", "إدارة المياه",
                   "الصيادون المحليون", "المكتبة العامة", "شركة السكك الحديدية", "متحف البلدة", "مجموعة من المتطوعين"]
ARABIC_VERBS = ["ناقش", "أعلن", "درس", "أكمل", "راجع", "اقترح", "نشر", "قاس", "أصلح", "وافق على"]
ARABIC_OBJECTS = ["تكلفة الرصيف الجديد", "خطة العمل للصيف", "حالة المنارة القديمة", "عدد القوارب في الأسطول",
                  "أسعار الوقود في الميناء", "نتائج المسح السنوي", "جدول الحافلات الساحلية", "مشروع زراعة الأشجار",
                  "إمدادات المياه للجزر", "أضرار العاصفة الأخيرة", "ساعات عمل المكتبة", "تصميم الجسر الجديد"]
ARABIC_TAILS = ["في اجتماع عام", "قبل نهاية الشهر", "بمساعدة المحافظة", "رغم سوء الطقس", "للسنة الثالثة على التوالي",
                "خلال فصل الخريف", "ضمن الميزانية المتفق عليها", "بناء على نصيحة الخبراء", "دون أي تأخير"]

HEBREW_SUBJECTS = ["ועד הנמל", "תושבי העיר", "ועדת התכנון", "בית הספר", "צוות המהנדסים", "רשות המים",
                   "הדייגים המקומיים", "הספרייה העירונית", "חברת הרכבת", "מוזיאון העיר", "קבוצת מתנדבים"]
HEBREW_VERBS = ["דן על", "הודיע על", "בדק את", "השלים את", "סקר את", "הציע את", "פרסם את", "מדד את", "תיקן את", "אישר את"]
HEBREW_OBJECTS = ["עלות המזח החדש", "תוכנית העבודה לקיץ", "מצב המגדלור הישן", "מספר הסירות בצי",
                  "מחירי הדלק בנמל", "תוצאות הסקר השנתי", "לוח הזמנים של האוטובוס", "פרויקט נטיעת העצים",
                  "אספקת המים לאיים", "נזקי הסערה האחרונה", "שעות הפתיחה של הספרייה", "תכנון הגשר החדש"]
HEBREW_TAILS = ["בישיבה פומבית", "לפני סוף החודש", "בעזרת המחוז", "למרות מזג האוויר", "זו השנה השלישית ברציפות",
                "במהלך הסתיו", "במסגרת התקציב", "לפי עצת המומחים", "ללא עיכוב נוסף"]

CHINESE_SUBJECTS = ["港口管理委员会", "城镇居民", "规划委员会", "小学老师", "工程师小组", "水务部门", "当地渔民",
                    "公共图书馆", "铁路公司", "镇博物馆", "志愿者团队"]
CHINESE_VERBS = ["讨论了", "宣布了", "研究了", "完成了", "审查了", "提出了", "发表了", "测量了", "修复了", "批准了"]
CHINESE_OBJECTS = ["新码头的费用", "夏季工作计划", "旧灯塔的状况", "船队的船只数量", "港口的燃油价格", "年度调查的结果",
                   "沿海公交时刻表", "植树项目", "海岛的供水", "上次风暴的损失", "图书馆的开放时间", "新桥的设计"]
CHINESE_TAILS = ["在公开会议上", "在月底之前", "在县政府的帮助下", "尽管天气不好", "连续第三年", "在秋季期间",
                 "在商定的预算之内", "根据专家的建议", "没有任何延误"]


def _paragraph(rng, sentences, parts, space, stop):
    return space.join(space.join(rng.choice(part) for part in parts) + stop for _ in range(sentences))


def arabic_paragraph(rng, sentences):
    return _paragraph(rng, sentences, (ARABIC_SUBJECTS, ARABIC_VERBS, ARABIC_OBJECTS, ARABIC_TAILS), " ", ".")


def hebrew_paragraph(rng, sentences):
    return _paragraph(rng, sentences, (HEBREW_SUBJECTS, HEBREW_VERBS, HEBREW_OBJECTS, HEBREW_TAILS), " ", ".")


def chinese_paragraph(rng, sentences):
    return _paragraph(rng, sentences, (CHINESE_SUBJECTS, CHINESE_TAILS, CHINESE_VERBS, CHINESE_OBJECTS), "", "。")
