# shellcheck shell=bash
# Sourced by the benchmark scripts: ordinary Vietnamese prose, ASCII and Vietnamese letters only (so
# that every letter has a code in VISCII and TCVN1), repeated with variety to any size.

# vietnamese_text FILE MEGABYTES: writes about that many MB (10^6 bytes) of UTF-8 prose to FILE, a
# numbered heading before each round of the sentences in a rotating order, each line ended with CR LF
# (as odizodoruz-cli writes them, so that its output and iconv's can be compared byte for byte).
vietnamese_text() {
    local file="$1" megabytes="$2" prose prose_bytes blocks
    prose="$(mktemp)"
    cat >"$prose" <<'PROSE'
Hà Nội mùa thu, những con phố nhỏ rợp bóng cây, gió heo may thổi nhẹ qua mặt hồ Gươm.
Người bán hàng rong đội nón lá, gánh trên vai những thúng cốm xanh thơm mùi lúa non.
Buổi sáng sớm, các cụ già tập thể dục bên bờ hồ, còn trẻ em vội vã đến trường.
Tiếng Việt có sáu thanh điệu: ngang, huyền, sắc, hỏi, ngã và nặng; mỗi thanh làm đổi nghĩa của từ.
Đường về quê ngoại quanh co giữa những cánh đồng lúa chín vàng, xa xa là dãy núi mờ sương.
Chúng tôi dừng lại bên quán nước ven đường, uống chén trà xanh nóng hổi và nghe ông lão kể chuyện ngày xưa.
Ở miền Nam, chợ nổi trên sông Cửu Long họp từ lúc trời chưa sáng, thuyền chở đầy dưa hấu, xoài, chuối và khóm.
Những ước mơ giản dị của người nông dân là được mùa, con cháu khỏe mạnh và học hành đến nơi đến chốn.
Quyển sách cũ ấy đã theo ông suốt những năm tháng chiến tranh, giờ giấy đã ngả màu nhưng chữ vẫn còn rõ.
Ỷ lại vào người khác thì chẳng bao giờ nên người, bà thường dặn dò như thế mỗi khi cả nhà quây quần bên mâm cơm.
Ánh trăng rằm soi xuống dòng sông Hương, tiếng hò mái đẩy vọng lại từ một chiếc đò nhỏ.
Ông Độ kể rằng năm ấy lũ lớn, nước ngập đến tận mái hiên, cả xóm phải dắt díu nhau lên đồi.
Mùa xuân đến, hoa đào nở rộ khắp các ngõ, người người nô nức đi chợ Tết mua sắm.
Bánh chưng xanh được gói bằng lá dong, nhân đậu xanh và thịt mỡ, luộc suốt một đêm dài.
Ếch nhái kêu ran ngoài ruộng sau cơn mưa rào đầu hạ, lũ trẻ rủ nhau đi bắt cá rô.
Ủy ban xã vừa họp bàn việc đắp lại con đê cũ, ai nấy đều hăng hái góp công góp của.
Ít ai biết rằng ngôi chùa nhỏ trên đỉnh núi ấy đã có từ mấy trăm năm trước.
Cô giáo trẻ kiên nhẫn dạy từng chữ cái cho học trò nghèo ở bản làng vùng cao.
Ăn quả nhớ kẻ trồng cây, uống nước nhớ nguồn là lời dạy mà ông bà để lại cho con cháu.
Ấm nước chè xanh đặt giữa chiếu, mọi người ngồi quanh bàn chuyện mùa màng và giá lúa năm nay.
Ơn cha nghĩa mẹ sâu nặng như biển trời, người con xa quê lúc nào cũng khắc ghi trong lòng.
Ừ thì mình cứ đi, đường xa mấy rồi cũng tới, miễn là đừng nản chí giữa chừng.
Ở phương xa, anh vẫn nhớ tiếng gà gáy sớm và khói bếp lam chiều quyện trên mái rạ.
Đêm khuya, tiếng mõ cầm canh vọng lại, cả làng chìm trong giấc ngủ yên bình.
Tỉnh dậy sau giấc trưa, bé Hạnh chạy ra vườn hái ổi, tiếng cười giòn tan như nắng hạ.
Ý kiến của mọi người được ghi chép đầy đủ, sẽ gửi lên huyện trong tuần tới.
Ổ bánh mì nóng giòn, kẹp chả lụa và rau thơm, là bữa sáng quen thuộc của người Sài Gòn.
Ỡm ờ mãi rồi cậu ấy cũng chịu nhận lời, hứa sẽ về thăm quê vào dịp cuối năm.
TRUYỆN NGẮN: NHỮNG NGƯỜI ĐÀN BÀ ĐI BIỂN
PHẦN HAI: MÙA LŨ Ở QUÊ NHÀ, NHỮNG NGÀY XA XỨ
LỜI CUỐI SÁCH: CẢM ƠN BẠN ĐỌC ĐÃ THEO DÕI, XIN HẸN GẶP LẠI Ở TẬP SAU.
PROSE
    prose_bytes=$(wc -c <"$prose")
    blocks=$(((megabytes * 1000000 + prose_bytes - 1) / prose_bytes + 1))
    awk -v blocks="$blocks" '
        { line[n++] = $0 }
        END {
            for (b = 0; b < blocks; ++b) {
                printf "Chương %d, đoạn %d.\r\n", int(b / 10) + 1, b % 10 + 1
                for (i = 0; i < n; ++i) printf "%s\r\n", line[(i * 7 + b) % n]
                printf "\r\n"
            }
        }' "$prose" >"$file"
    rm -f "$prose"
}
