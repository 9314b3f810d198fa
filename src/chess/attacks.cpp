#include "chess/attacks.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

AngriffsTabellen_t AT;
Magie_t TurmMagie[64];
Magie_t LaeuferMagie[64];

namespace {

struct MagieKonstante {
    uint64_t faktor;
    uint32_t versatz;
};

// Multipliers found by tools/find_magics.cpp: with the fixed shifts every
// blocker subset of a square lands on an index of its own or on one holding
// the same attack set, inside a compact range that starts at the square's
// offset into the shared table.
constexpr MagieKonstante TURM_KONSTANTEN[64] = {
    {0x0080021620804001ull, 0},
    {0x0020001000080020ull, 4096},
    {0x0080048008100020ull, 6144},
    {0x0040040008004003ull, 8960},
    {0x0080020400018008ull, 11008},
    {0x0080010200008004ull, 13824},
    {0x0040010000800040ull, 16384},
    {0x020006010480244Cull, 18432},
    {0x0C01080401001004ull, 22528},
    {0x4040100008040010ull, 25073},
    {0x4000100200040011ull, 26097},
    {0x4080200400020020ull, 27633},
    {0x0000200100200200ull, 28657},
    {0x0080200080200100ull, 29681},
    {0x0000200040200080ull, 30705},
    {0x4001081002080020ull, 31729},
    {0x2040002000100020ull, 34274},
    {0xE004001000080010ull, 36322},
    {0x2204004801020058ull, 37346},
    {0x4004002020020004ull, 38878},
    {0x8802001001008010ull, 39902},
    {0x0029002000802001ull, 40926},
    {0x201C004040008001ull, 41950},
    {0x11C80020044AB020ull, 42974},
    {0x0001040108001001ull, 45524},
    {0x0000080010040010ull, 48069},
    {0x3004020008010008ull, 49093},
    {0x9120020020200400ull, 50117},
    {0x0000010020200200ull, 51141},
    {0x2840010020200080ull, 52165},
    {0x0000008020200040ull, 53189},
    {0x21A210009000A001ull, 54213},
    {0x0240001000200020ull, 56773},
    {0x0004000800100010ull, 58821},
    {0x1404020100080008ull, 59845},
    {0x6060200200200400ull, 60869},
    {0x2400200200200100ull, 61893},
    {0x0008200080200100ull, 62917},
    {0x8014200080200040ull, 63941},
    {0x0004022401100408ull, 64965},
    {0x4400100104010800ull, 67518},
    {0x0002008801008400ull, 70063},
    {0x1004000A01000800ull, 71584},
    {0x2000020004002020ull, 73120},
    {0x1102002001002002ull, 74144},
    {0x0020010000802020ull, 75168},
    {0x0004004000802020ull, 76192},
    {0x0200040044010811ull, 77216},
    {0x4440001000200020ull, 80018},
    {0x1000100400080010ull, 82066},
    {0x9104000802010008ull, 83090},
    {0x0000040020020020ull, 84114},
    {0x4000200100020020ull, 85138},
    {0x8310200080010020ull, 86162},
    {0x9200200040008020ull, 87186},
    {0x1800480020980040ull, 88210},
    {0x980A421022800101ull, 90770},
    {0x8000100820810041ull, 94866},
    {0x4504108020040842ull, 98706},
    {0x1080200804104002ull, 102674},
    {0x1848001004020801ull, 106514},
    {0x8004000204080081ull, 110354},
    {0x0000010040840802ull, 114194},
    {0xA000030024098042ull, 118034},
};
constexpr MagieKonstante LAEUFER_KONSTANTEN[64] = {
    {0x8210002220104012ull, 122130},
    {0x200400202020A010ull, 122257},
    {0x000210808C444010ull, 122384},
    {0x1000808090204600ull, 122511},
    {0x0000808408283014ull, 122638},
    {0x1000414800404000ull, 122765},
    {0x0248220100886028ull, 122892},
    {0x0048410080808080ull, 123019},
    {0x8C11008105010011ull, 123146},
    {0x0000020080A10025ull, 123273},
    {0xA032849100040544ull, 123400},
    {0x0902020090100800ull, 123527},
    {0x0000004410282820ull, 123654},
    {0x80A0008043048200ull, 123781},
    {0x0422010100430091ull, 123908},
    {0x6210801101210042ull, 124035},
    {0x05030400412102C0ull, 124162},
    {0x1006000080810088ull, 124289},
    {0x8084000200081004ull, 124416},
    {0x0800200200801010ull, 124544},
    {0x8B00808010040480ull, 124672},
    {0x1000081080840092ull, 124864},
    {0x0040800012808041ull, 124992},
    {0x0100420031002016ull, 125119},
    {0x400084240A004401ull, 125246},
    {0x40808C1440204081ull, 125373},
    {0x8022010000800880ull, 125500},
    {0x8402002008008020ull, 125628},
    {0x0001010048104000ull, 126140},
    {0x0D02001020804021ull, 126652},
    {0x0820405480820010ull, 126780},
    {0x1018045080201208ull, 126907},
    {0x00A1480080040305ull, 127034},
    {0x0240404400084100ull, 127161},
    {0x00E1008206004010ull, 127288},
    {0x0000200800090811ull, 127416},
    {0x004C420080080880ull, 127928},
    {0x0040802080204010ull, 128440},
    {0x0002020007806020ull, 128568},
    {0x20408810021080A0ull, 128695},
    {0x0020820803040050ull, 128822},
    {0x0100822100440100ull, 128949},
    {0x0000208200800040ull, 129076},
    {0x9200801080200201ull, 129204},
    {0x0830020041000011ull, 129396},
    {0x0000440040800010ull, 129524},
    {0x000041010108002Aull, 129652},
    {0x420400405042A002ull, 129779},
    {0x0900128084008280ull, 129906},
    {0x0800090101804000ull, 130033},
    {0x044C0808C2008006ull, 130160},
    {0x0080000810808141ull, 130287},
    {0x0400200480808100ull, 130414},
    {0x0089030042008000ull, 130541},
    {0x1002880100208010ull, 130668},
    {0x22008141110C0200ull, 130795},
    {0x1808108080480080ull, 130922},
    {0x0002100820860030ull, 131049},
    {0x0501001080108220ull, 131176},
    {0x0902020000804120ull, 131303},
    {0x02C203008100A078ull, 131430},
    {0x0438400044030048ull, 131557},
    {0x0820110080610040ull, 131684},
    {0x6B04044022080410ull, 131811},
};
constexpr uint32_t SCHIEBER_TABELLEN_GROESSE = 131938;

Bitboard* schieberTabelle = nullptr;

const int TURM_RICHTUNGEN[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
const int LAEUFER_RICHTUNGEN[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};

bool aufBrett(int r, int f) { return r >= 0 && r < 8 && f >= 0 && f < 8; }

// Stepwise flood fill in four directions, stopping on the first blocker.
Bitboard gleiten(int sq, Bitboard belegt, const int (*richtungen)[2])
{
    Bitboard a = 0;
    for (int d = 0; d < 4; ++d) {
        int r = rowOf(sq) + richtungen[d][0], f = fileOf(sq) + richtungen[d][1];
        while (aufBrett(r, f)) {
            a |= bit(squareAt(r, f));
            if (belegt & bit(squareAt(r, f))) break;
            r += richtungen[d][0];
            f += richtungen[d][1];
        }
    }
    return a;
}

// Relevant blockers: the empty-board attacks without the last square in each
// direction (a piece on the board's edge never hides anything behind it).
Bitboard relevanteMaske(int sq, const int (*richtungen)[2])
{
    Bitboard m = 0;
    for (int d = 0; d < 4; ++d) {
        int r = rowOf(sq) + richtungen[d][0], f = fileOf(sq) + richtungen[d][1];
        while (aufBrett(r + richtungen[d][0], f + richtungen[d][1])) {
            m |= bit(squareAt(r, f));
            r += richtungen[d][0];
            f += richtungen[d][1];
        }
    }
    return m;
}

void magieFuellen(Magie_t* ziel, const MagieKonstante* k, const int (*richtungen)[2], int shift)
{
    for (int sq = 0; sq < 64; ++sq) {
        Magie_t& m = ziel[sq];
        m.maske = relevanteMaske(sq, richtungen);
        m.faktor = k[sq].faktor;
        Bitboard* basis = schieberTabelle + k[sq].versatz;
        m.tabelle = basis;
        Bitboard teil = 0;
        do {
            basis[(teil * m.faktor) >> shift] = gleiten(sq, teil, richtungen);
            teil = (teil - m.maske) & m.maske; // carry-rippler: next subset
        } while (teil);
    }
}

void tabellenBauen()
{
    schieberTabelle = static_cast<Bitboard*>(std::calloc(SCHIEBER_TABELLEN_GROESSE, sizeof(Bitboard)));
    if (!schieberTabelle) {
        std::fprintf(stderr, "out of memory for the slider attack table\n");
        std::exit(1);
    }
    magieFuellen(TurmMagie, TURM_KONSTANTEN, TURM_RICHTUNGEN, 52);
    magieFuellen(LaeuferMagie, LAEUFER_KONSTANTEN, LAEUFER_RICHTUNGEN, 55);

    const int springerSchritte[8][2] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}, {1, -2}, {1, 2}, {2, -1}, {2, 1}};
    for (int sq = 0; sq < 64; ++sq) {
        int r = rowOf(sq), f = fileOf(sq);
        Bitboard s = 0, k = 0;
        for (auto& d : springerSchritte)
            if (aufBrett(r + d[0], f + d[1])) s |= bit(squareAt(r + d[0], f + d[1]));
        for (int dr = -1; dr <= 1; ++dr)
            for (int df = -1; df <= 1; ++df)
                if ((dr || df) && aufBrett(r + dr, f + df)) k |= bit(squareAt(r + dr, f + df));
        AT.springer[sq] = s;
        AT.koenig[sq] = k;
        AT.bauer[WEISS][sq] = bauernAngriffeVon(WEISS, bit(sq));
        AT.bauer[SCHWARZ][sq] = bauernAngriffeVon(SCHWARZ, bit(sq));
        AT.turmLeer[sq] = gleiten(sq, 0, TURM_RICHTUNGEN);
        AT.laeuferLeer[sq] = gleiten(sq, 0, LAEUFER_RICHTUNGEN);
        AT.linie[sq] = fileMask(f) & ~bit(sq);
        AT.reihe[sq] = rowMask(r) & ~bit(sq);
        AT.diagonale[sq] = 0;
        AT.antidiagonale[sq] = 0;
        for (int i = -7; i <= 7; ++i) {
            if (i && aufBrett(r - i, f + i)) AT.diagonale[sq] |= bit(squareAt(r - i, f + i));
            if (i && aufBrett(r + i, f + i)) AT.antidiagonale[sq] |= bit(squareAt(r + i, f + i));
        }
    }
    for (int m = 0; m < 4096; ++m) AT.vonNach[m] = bit(m & 63) | bit((m >> 6) & 63);
    for (int a = 0; a < 64; ++a) {
        for (int b = 0; b < 64; ++b) {
            AT.zwischen[a][b] = 0;
            AT.linieDurch[a][b] = 0;
            if (a == b) continue;
            if (AT.turmLeer[a] & bit(b)) {
                AT.zwischen[a][b] = turmAngriffe(a, bit(b)) & turmAngriffe(b, bit(a));
                AT.linieDurch[a][b] = (AT.turmLeer[a] & AT.turmLeer[b]) | bit(a) | bit(b);
            } else if (AT.laeuferLeer[a] & bit(b)) {
                AT.zwischen[a][b] = laeuferAngriffe(a, bit(b)) & laeuferAngriffe(b, bit(a));
                AT.linieDurch[a][b] = (AT.laeuferLeer[a] & AT.laeuferLeer[b]) | bit(a) | bit(b);
            }
        }
    }
}

} // namespace

void tabellenInitialisieren()
{
    static std::once_flag einmal;
    std::call_once(einmal, tabellenBauen);
}
