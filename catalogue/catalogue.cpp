#include "catalogue.h"

#include <QString>

// Every text of the program lives in this file, once. The code-keyword texts,
// the title texts, the strong colours and the correspondence texts are formed
// from these rows when the catalogue is first read.

namespace {

struct ViewpointRow
{
    char16_t label;
    const char16_t *titleCaption;
    const char16_t *titlePhrase;
    quint32 paneColour;
};

struct ItemRow
{
    int viewpointPlace;
    int number;
    const char16_t *keywordCaption;
    const char16_t *heading;
    const char16_t *explanation;
    // Positions of the corresponding items in the other set; a second one
    // where there is one, else 0.
    int partners[2];
};

const ViewpointRow oldViewpoints[] = {
    { u'1', u"自分自身", u"主として自分自身に関すること", 0xFFFFC0 },
    { u'2', u"人との関わり", u"主として他の人とのかかわりに関すること", 0xC0FFFF },
    { u'3', u"自然崇高", u"主として自然や崇高なものとのかかわりに関すること", 0xC0FFC0 },
    { u'4', u"集団社会", u"主として集団や社会とのかかわりに関すること", 0xC0C0FF },
};

// The colours go with the themes, not the order: groups and society (C) have
// the light red of the old 4, life and nature (D) the light green of the old 3.
const ViewpointRow newViewpoints[] = {
    { u'A', u"自分自身", u"主として自分自身に関すること", 0xFFFFC0 },
    { u'B', u"人との関わり", u"主として人との関わりに関すること", 0xC0FFFF },
    { u'C', u"集団社会", u"主として集団や社会との関わりに関すること", 0xC0C0FF },
    { u'D', u"生命自然崇高", u"主として生命や自然、崇高なものとの関わりに関すること", 0xC0FFC0 },
};

// Note the half-width "､" in the first heading and "｡" at the end of the
// explanations of 1-(2) and 1-(5): that is how the official texts read.
const ItemRow oldRows[] = {
    { 1, 1, u"生活習慣", u"望ましい生活習慣、心身の健康､節度節制",
      u"望ましい生活習慣を身に付け、心身の健康の増進を図り、節度を守り節制に心掛け調和のある生活をする。",
      { 2 } },
    { 1, 2, u"強い意思", u"希望、勇気、強い意思",
      u"より高い目標を目指し、希望と勇気をもって着実にやり抜く強い意志をもつ｡",
      { 4 } },
    { 1, 3, u"自主自律", u"自主自律、誠実と責任",
      u"自律の精神を重んじ、自主的に考え、誠実に実行してその結果に責任をもつ。",
      { 1 } },
    { 1, 4, u"真実理想", u"真理愛、真実の追求、理想の実現",
      u"真理を愛し、真実を求め、理想の実現を目指して自己の人生を切り拓いていく。",
      { 5 } },
    { 1, 5, u"反省向上", u"反省と向上、個性の伸長",
      u"自己を見つめ、自己の向上を図るとともに、個性を伸ばして充実した生き方を追求する｡",
      { 3 } },
    { 2, 1, u"礼儀言動", u"礼儀、適切な言動",
      u"礼儀の意義を理解し、時と場に応じた適切な言動をとる。",
      { 7 } },
    { 2, 2, u"人 間 愛", u"人間愛、思いやり",
      u"温かい人間愛の精神を深め、他の人々に対し思いやりの心をもつ。",
      { 6 } },
    { 2, 3, u"友情信頼", u"友情・信頼",
      u"友情の尊さを理解して心から信頼できる友達をもち、互いに励まし合い、高め合う。",
      { 8 } },
    { 2, 4, u"異性理解", u"正しい異性理解と人格の尊重",
      u"男女は、互いに異性についての正しい理解を深め、相手の人格を尊重する。",
      { 8 } },
    { 2, 5, u"個性立場", u"個性や立場の尊重、謙虚、広い心",
      u"それぞれの個性や立場を尊重し、いろいろなものの見方や考え方があることを理解して、寛容の心をもち謙虚に他に学ぶ。",
      { 9 } },
    { 2, 6, u"感　　謝", u"感謝",
      u"多くの人々の善意や支えにより、日々の生活や現在の自分があることに感謝し、それにこたえる。",
      { 6 } },
    { 3, 1, u"生命尊重", u"生命の尊重",
      u"生命の尊さを理解し、かけがえのない自他の生命を尊重する。",
      { 19 } },
    { 3, 2, u"自然畏敬", u"自然の愛護、豊かな心、畏敬の念",
      u"自然を愛護し、美しいものに感動する豊かな心をもち、人間の力を超えたものに対する畏敬の念を深める。",
      { 20, 21 } },
    { 3, 3, u"気高生喜", u"人間の強さと気高さ、生きる喜び",
      u"人間には弱さや醜さを克服する強さや気高さがあることを信じて、人間として生きることに喜びを見いだすように努める。",
      { 22 } },
    { 4, 1, u"遵法秩序", u"遵法、権利義務、社会の秩序と規律",
      u"法やきまりの意義を理解し、遵守するとともに、自他の権利を重んじ義務を確実に果たして、社会の秩序と規律を高めるように努める。",
      { 10 } },
    { 4, 2, u"公 徳 心", u"公徳心、社会連帯の自覚",
      u"公徳心及び社会連帯の自覚を高め、よりよい社会の実現に努める。",
      { 12 } },
    { 4, 3, u"正義公正", u"正義、公正公平、差別・偏見の克服",
      u"正義を重んじ、だれに対しても公正、公平にし、差別や偏見のない社会の実現に努める。",
      { 11 } },
    { 4, 4, u"役割責任", u"役割と責任の自覚、集団生活の向上",
      u"自己が属する様々な集団の意義についての理解を深め、役割と責任を自覚し集団生活の向上に努める。",
      { 15 } },
    { 4, 5, u"勤労福祉", u"勤労、社会への奉仕、公共の福祉",
      u"勤労の尊さや意義を理解し、奉仕の精神をもって、公共の福祉と社会の発展に努める。",
      { 13 } },
    { 4, 6, u"家 族 愛", u"家族愛",
      u"父母、祖父母に敬愛の念を深め、家族の一員としての自覚をもって充実した家庭生活を築く。",
      { 14 } },
    { 4, 7, u"愛 校 心", u"愛校心、校風の樹立",
      u"学級や学校の一員としての自覚をもち、教師や学校の人々に敬愛の念を深め、協力してよりよい校風を樹立する。",
      { 15 } },
    { 4, 8, u"郷 土 愛", u"郷土愛、先人への尊敬と感謝",
      u"地域社会の一員としての自覚をもって郷土を愛し、社会に尽くした先人や高齢者に尊敬と感謝の念を深め、郷土の発展に努める。",
      { 16 } },
    { 4, 9, u"愛 国 心", u"愛国心、伝統の継承と文化の創造",
      u"日本人としての自覚をもって国を愛し、国家の発展に努めるとともに、優れた伝統の継承と新しい文化の創造に貢献する。",
      { 17 } },
    { 4, 10, u"国際理解", u"国際理解と平和、人類愛",
      u"世界の中の日本人としての自覚をもち、国際的視野に立って、世界の平和と人類の幸福に貢献する。",
      { 18 } },
};
const ItemRow newRows[] = {
    { 1, 1, u"自主自律", u"自主、自律、自由と責任",
      u"自律の精神を重んじ、自主的に考え、判断し、誠実に実行してその結果に責任をもつこと。",
      { 3 } },
    { 1, 2, u"節度節制", u"節度、節制",
      u"望ましい生活習慣を身に付け、心身の健康の増進を図り、節度を守り節制に心掛け、安全で調和のある生活をすること。",
      { 1 } },
    { 1, 3, u"個性伸長", u"向上心、個性の伸長",
      u"自己を見つめ、自己の向上を図るとともに、個性を伸ばして充実した生き方を追求すること。",
      { 5 } },
    { 1, 4, u"希望勇気", u"希望と勇気、克己と強い意思",
      u"より高い目標を設定し、その達成を目指し、希望と勇気をもち、困難や失敗を乗り越えて着実にやり遂げること。",
      { 2 } },
    { 1, 5, u"真理探求", u"真理の探求、創造",
      u"真実を大切にし、真理を探究して新しいものを生み出そうと努めること。",
      { 4 } },
    { 2, 6, u"思いやり", u"思いやり、感謝",
      u"思いやりの心をもって人と接するとともに、家族などの支えや多くの人々の善意により日々の生活や現在の自分があることに感謝し、進んでそれに応え、人間愛の精神を深めること。",
      { 7, 11 } },
    { 2, 7, u"礼　　儀", u"礼儀",
      u"礼儀の意義を理解し、時と場に応じた適切な言動をとること。",
      { 6 } },
    { 2, 8, u"友情信頼", u"友情、信頼",
      u"友情の尊さを理解して心から信頼できる友達をもち、互いに励まし合い、高め合うとともに、異性についての理解を深め、悩みや葛藤も経験しながら人間関係を深めていくこと。",
      { 8, 9 } },
    { 2, 9, u"相互理解", u"相互理解、寛容",
      u"自分の考えや意見を相手に伝えるとともに、それぞれの個性や立場を尊重し、いろいろなものの見方や考え方があることを理解し、寛容の心をもって謙虚に他に学び、自らを高めていくこと。",
      { 10 } },
    { 3, 10, u"遵法精神", u"遵法精神、公徳心",
      u"法やきまりの意義を理解し、それらを進んで守るとともに、そのよりよい在り方について考え、自他の権利を大切にし、義務を果たして、規律ある安定した社会の実現に努めること。",
      { 15 } },
    { 3, 11, u"公正公平", u"公正、公平、社会正義",
      u"正義と公正さを重んじ、誰に対しても公平に接し、差別や偏見のない社会の実現に努めること。",
      { 17 } },
    { 3, 12, u"社会参画", u"社会参画、公共の精神",
      u"社会参画の意識と社会連帯の自覚を高め、公共の精神をもってよりよい社会の実現に努めること。",
      { 16 } },
    { 3, 13, u"勤　　労", u"勤労",
      u"勤労の尊さや意義を理解し、将来の生き方について考えを深め、勤労を通じて社会に貢献すること。",
      { 19 } },
    { 3, 14, u"家 族 愛", u"家族愛、家庭生活の充実",
      u"父母、祖父母を敬愛し、家族の一員としての自覚をもって充実した家庭生活を築くこと。",
      { 20 } },
    { 3, 15, u"集団生活", u"よりよい学校生活、集団生活の充実",
      u"教師や学校の人々を敬愛し、学級や学校の一員としての自覚をもち、協力し合ってよりよい校風をつくるとともに、様々な集団の意義や集団の中での自分の役割と責任を自覚して集団生活の充実に努めること。",
      { 18, 21 } },
    { 3, 16, u"郷土伝統", u"郷土の伝統と文化の尊重、郷土を愛する態度",
      u"郷土の伝統と文化を大切にし、社会に尽くした先人や高齢者に尊敬の念を深め、地域社会の一員としての自覚をもって郷土を愛し、進んで郷土の発展に努めること。",
      { 22 } },
    { 3, 17, u"我国伝統", u"我が国の伝統と文化の尊重、国を愛する態度",
      u"優れた伝統の継承と新しい文化の創造に貢献するとともに、日本人としての自覚をもって国を愛し、国家及び社会の形成者として、その発展に努めること。",
      { 23 } },
    { 3, 18, u"国際理解", u"国際理解、国際貢献",
      u"世界の中の日本人としての自覚をもち、他国を尊重し、国際的視野に立って、世界の平和と人類の発展に寄与すること。",
      { 24 } },
    { 4, 19, u"生命尊重", u"生命の尊さ",
      u"生命の尊さについて、その連続性や有限性なども含めて理解し、かけがえのない生命を尊重すること。",
      { 12 } },
    { 4, 20, u"自然愛護", u"自然愛護",
      u"自然の崇高さを知り、自然環境を大切にすることの意義を理解し、進んで自然の愛護に努めること。",
      { 13 } },
    { 4, 21, u"感動畏敬", u"感動、畏敬の念",
      u"美しいものや気高いものに感動する心をもち、人間の力を超えたものに対する畏敬の念を深めること。",
      { 13 } },
    { 4, 22, u"生きる喜び", u"よりよく生きる喜び",
      u"人間には自らの弱さや醜さを克服する強さや気高く生きようとする心があることを理解し、人間として生きることに喜びを見いだすこと。",
      { 14 } },
};

struct Set
{
    QList<Viewpoint> viewpoints;
    QList<ContentItem> items;
};

template<size_t V, size_t I>
Set formSet(Curriculum curriculum, const ViewpointRow (&vrows)[V], const ItemRow (&irows)[I])
{
    Set set;
    for (size_t v = 0; v < V; ++v) {
        const ViewpointRow &row = vrows[v];
        Viewpoint vp;
        vp.curriculum = curriculum;
        vp.place = int(v) + 1;
        vp.label = QChar(row.label);
        vp.titleCaption = QString::fromUtf16(row.titleCaption);
        // The full-width form of an ASCII digit or letter is 0xFEE0 above it.
        vp.titleText = QString(QChar(char16_t(row.label + 0xFEE0))) + QChar(0x3000)
                + QString::fromUtf16(row.titlePhrase);
        vp.paneColour = Colour(row.paneColour);
        vp.strongColour = vp.paneColour.strong();
        set.viewpoints.append(vp);
    }
    for (size_t i = 0; i < I; ++i) {
        const ItemRow &row = irows[i];
        Viewpoint &vp = set.viewpoints[row.viewpointPlace - 1];
        if (vp.itemCount++ == 0)
            vp.firstPosition = int(i) + 1;

        ContentItem item;
        item.curriculum = curriculum;
        item.position = int(i) + 1;
        item.viewpointPlace = row.viewpointPlace;
        item.number = row.number;
        item.code = QStringLiteral("%1-(%2)").arg(vp.label).arg(row.number);
        item.codeCaption = item.code;
        item.keywordCaption = QString::fromUtf16(row.keywordCaption);
        item.heading = QString::fromUtf16(row.heading);
        item.codeKeyword = item.code + u' ' + item.heading;
        item.explanation = QString::fromUtf16(row.explanation);
        for (int partner : row.partners) {
            if (partner != 0)
                item.partners.append(partner);
        }
        set.items.append(item);
    }
    return set;
}

// The correspondence text names the partners after the other set's prefix:
// "旧3-(2) ＝ 新D-(20),(21)" and "新B-(6) ＝ 旧2-(2)(6)". A second partner is
// written by its number alone, after a comma when it is a new item.
void formCorrespondence(Set &set, Curriculum curriculum, const Set &otherSet)
{
    const QString separator = curriculum == Curriculum::Old ? QStringLiteral(",") : QString();
    for (ContentItem &item : set.items) {
        QString text = Catalogue::prefix(curriculum) + item.code + QStringLiteral(u" ＝ ")
                + Catalogue::prefix(Catalogue::other(curriculum));
        for (qsizetype k = 0; k < item.partners.size(); ++k) {
            const ContentItem &partner = otherSet.items.at(item.partners.at(k) - 1);
            text += k == 0 ? partner.code
                           : separator + QStringLiteral("(%1)").arg(partner.number);
        }
        item.correspondence = text;
    }
}

struct Sets
{
    Set old;
    Set fresh;

    Sets()
        : old(formSet(Curriculum::Old, oldViewpoints, oldRows))
        , fresh(formSet(Curriculum::New, newViewpoints, newRows))
    {
        formCorrespondence(old, Curriculum::Old, fresh);
        formCorrespondence(fresh, Curriculum::New, old);
        // The one code caption with a trailing space, as the old button showed
        // it; the button still copies the bare code.
        for (ContentItem &item : old.items) {
            if (item.code == u"2-(5)")
                item.codeCaption += u' ';
        }
    }
};

const Set &setOf(Curriculum curriculum)
{
    static const Sets sets;
    return curriculum == Curriculum::Old ? sets.old : sets.fresh;
}

} // namespace

namespace Catalogue {

QString prefix(Curriculum curriculum)
{
    return curriculum == Curriculum::Old ? QStringLiteral(u"旧") : QStringLiteral(u"新");
}

Curriculum other(Curriculum curriculum)
{
    return curriculum == Curriculum::Old ? Curriculum::New : Curriculum::Old;
}

const QList<ContentItem> &items(Curriculum curriculum)
{
    return setOf(curriculum).items;
}

const QList<Viewpoint> &viewpoints(Curriculum curriculum)
{
    return setOf(curriculum).viewpoints;
}

const ContentItem &item(Curriculum curriculum, int position)
{
    return items(curriculum).at(position - 1);
}

const Viewpoint &viewpoint(Curriculum curriculum, int place)
{
    return viewpoints(curriculum).at(place - 1);
}

const Viewpoint &viewpointOf(const ContentItem &item)
{
    return viewpoint(item.curriculum, item.viewpointPlace);
}

QString subjectTitle()
{
    return QStringLiteral(u"特別の教科　道徳");
}

QString windowTitle()
{
    return QStringLiteral("Sorelin");
}

// Both begin with a half-width space, and the first has one after "旧".
QString tabCaption(Curriculum curriculum)
{
    return curriculum == Curriculum::Old ? QStringLiteral(u" 旧 内容項目") : QStringLiteral(u" 教科化後");
}

QString creditLine()
{
    return QStringLiteral("Tamberlo 2016");
}

// A pane is read as the set whose items it answers for.
QString paneName(Curriculum curriculum)
{
    return QStringLiteral(u"%1の内容項目に対応する%2の内容項目").arg(prefix(curriculum), prefix(other(curriculum)));
}

QString failureMessage()
{
    return QStringLiteral(u"コピーできませんでした。もう一度押してください。");
}

QString keepOnTopCaption()
{
    return QStringLiteral(u"手前に表示");
}

} // namespace Catalogue
