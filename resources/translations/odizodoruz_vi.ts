<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="vi_VN">
<context>
    <name>Batch</name>
    <message>
        <source>Done</source>
        <translation>Xong</translation>
    </message>
    <message>
        <source>Choose a folder as the source and as the target, not the list of drives.</source>
        <translation>Hãy chọn một thư mục làm nguồn và một thư mục làm đích, không phải danh sách ổ đĩa.</translation>
    </message>
    <message>
        <source>You have to select the different source and target encoding.</source>
        <translation>Bạn phải chọn bảng mã nguồn và bảng mã đích khác nhau.</translation>
    </message>
    <message>
        <source>You have to select the different source and target directories.</source>
        <translation>Bạn phải chọn thư mục nguồn và thư mục đích khác nhau.</translation>
    </message>
    <message>
        <source>There is no file to be converted.</source>
        <translation>Không có tệp nào để chuyển mã.</translation>
    </message>
    <message>
        <source>There is nothing to find</source>
        <translation>Chưa có gì để tìm</translation>
    </message>
    <message>
        <source>There is nothing to replace</source>
        <translation>Chưa có gì để thay thế</translation>
    </message>
    <message>
        <source>The same messages. No replacement is made.</source>
        <translation>Hai đoạn văn bản giống nhau. Không thay thế gì cả.</translation>
    </message>
    <message>
        <source>Do you want to convert selected files with %1 in directory %2 from %3 to files with %1 to directory %4 with %5</source>
        <translation>Bạn có muốn chuyển mã các tệp đã chọn dạng %1 trong thư mục %2 từ bảng mã %3 thành các tệp dạng %1 trong thư mục %4 với bảng mã %5 không?</translation>
    </message>
    <message>
        <source>Do you want to convert all files with %1 in directory %2 from %3 to files with %1 to directory %4 with %5</source>
        <translation>Bạn có muốn chuyển mã mọi tệp dạng %1 trong thư mục %2 từ bảng mã %3 thành các tệp dạng %1 trong thư mục %4 với bảng mã %5 không?</translation>
    </message>
    <message>
        <source>Do you want to replace text : %1 with new text : %2 also ?</source>
        <translation>Bạn có muốn thay luôn văn bản: %1 bằng văn bản mới: %2 không?</translation>
    </message>
    <message>
        <source>converted</source>
        <translation>đã được chuyển mã</translation>
    </message>
    <message>
        <source>Do you want to replace all text:  %1 in selected files in directory %2 with text: %3 to directory %4</source>
        <translation>Bạn có muốn thay mọi chỗ có văn bản:  %1 trong các tệp đã chọn của thư mục %2 bằng văn bản: %3 và ghi vào thư mục %4 không?</translation>
    </message>
    <message>
        <source>Do you want to replace all text:  %1 in all files in directory %2 with text: %3 to directory %4</source>
        <translation>Bạn có muốn thay mọi chỗ có văn bản:  %1 trong mọi tệp của thư mục %2 bằng văn bản: %3 và ghi vào thư mục %4 không?</translation>
    </message>
    <message>
        <source>written</source>
        <translation>đã được ghi</translation>
    </message>
    <message>
        <source>%1 file %2</source>
        <translation>%1 tệp %2</translation>
    </message>
    <message>
        <source>%1 files %2</source>
        <translation>%1 tệp %2</translation>
    </message>
    <message>
        <source>, %1 left alone, %2 failed</source>
        <translation>, %1 tệp để nguyên, %2 tệp bị lỗi</translation>
    </message>
    <message>
        <source>, %1 skipped</source>
        <translation>, %1 tệp bị bỏ qua</translation>
    </message>
    <message>
        <source>, %1 not tried</source>
        <translation>, %1 tệp chưa được thử</translation>
    </message>
    <message>
        <source>%1 character(s) that the target encoding cannot hold were written as decimal references (&amp;#N;).</source>
        <translation>%1 ký tự mà bảng mã đích không biểu diễn được đã được ghi thành tham chiếu thập phân (&amp;#N;).</translation>
    </message>
    <message>
        <source>The searched text was not found, so no text was replaced.</source>
        <translation>Không tìm thấy văn bản cần tìm, nên không có chỗ nào được thay thế.</translation>
    </message>
    <message>
        <source>Not converted:</source>
        <translation>Không được chuyển mã:</translation>
    </message>
    <message>
        <source>gone before its turn</source>
        <translation>đã biến mất trước khi đến lượt</translation>
    </message>
    <message>
        <source>a link that leads nowhere</source>
        <translation>liên kết không trỏ tới đâu cả</translation>
    </message>
    <message>
        <source>not a regular file (fifo)</source>
        <translation>không phải tệp thông thường (fifo)</translation>
    </message>
    <message>
        <source>not a regular file (socket)</source>
        <translation>không phải tệp thông thường (socket)</translation>
    </message>
    <message>
        <source>not a regular file (device)</source>
        <translation>không phải tệp thông thường (thiết bị)</translation>
    </message>
    <message>
        <source>folder link not followed: it leads to the target folder</source>
        <translation>không đi theo liên kết thư mục: nó trỏ tới thư mục đích</translation>
    </message>
    <message>
        <source>folder link not followed: it leads inside the source folder</source>
        <translation>không đi theo liên kết thư mục: nó trỏ vào bên trong thư mục nguồn</translation>
    </message>
    <message>
        <source>folder link not followed: it leads to a folder already walked</source>
        <translation>không đi theo liên kết thư mục: nó trỏ tới một thư mục đã duyệt qua</translation>
    </message>
    <message>
        <source>not tried: the batch stopped at the failure</source>
        <translation>chưa thử: cả lượt đã dừng lại vì lỗi</translation>
    </message>
    <message>
        <source>not tried: its target folder cannot be created</source>
        <translation>chưa thử: không tạo được thư mục đích của nó</translation>
    </message>
    <message>
        <source>left alone: the target already exists</source>
        <translation>để nguyên: tệp đích đã có</translation>
    </message>
    <message>
        <source>cannot read the folder (%1)</source>
        <translation>không đọc được thư mục (%1)</translation>
    </message>
    <message>
        <source>The files that were not converted are listed under Show Details.</source>
        <translation>Các tệp không được chuyển mã được liệt kê trong phần Xem chi tiết.</translation>
    </message>
    <message>
        <source>detected per file</source>
        <translation>mã phát hiện cho từng tệp</translation>
    </message>
    <message>
        <source>

Files read as each encoding: %1.</source>
        <translation>

Số tệp được đọc theo từng bảng mã: %1.</translation>
    </message>
    <message>
        <source> (best guess %1, %2%)</source>
        <translation> (đoán nhiều khả năng nhất là %1, %2%)</translation>
    </message>
    <message>
        <source>left alone: its encoding could not be told</source>
        <translation>để nguyên: không xác định được bảng mã của tệp</translation>
    </message>
    <message>
        <source>left alone: it is in the target encoding already</source>
        <translation>để nguyên: tệp đã ở bảng mã đích</translation>
    </message>
    <message>
        <source>plain ASCII</source>
        <translation>ASCII thuần</translation>
    </message>
</context>
<context>
    <name>DirTree</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Đồng ý</translation>
    </message>
    <message>
        <source>LeftClick - Select
DblClick  - Open</source>
        <translation>Nhấp chuột trái - Chọn
Nhấp đúp  - Mở</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Máy tính</translation>
    </message>
    <message>
        <source>Drive %1</source>
        <translation>Ổ đĩa %1</translation>
    </message>
    <message>
        <source>Folder &quot;%1&quot;</source>
        <translation>Thư mục &quot;%1&quot;</translation>
    </message>
    <message>
        <source>=== TREE SIZE ===</source>
        <translation>=== DUNG LƯỢNG CÂY THƯ MỤC ===</translation>
    </message>
    <message>
        <source>and all its Sub-Folders  =  %1</source>
        <translation>cùng mọi thư mục con  =  %1</translation>
    </message>
    <message>
        <source>%1 folder could not be read and is not counted.</source>
        <translation>%1 thư mục không đọc được nên không được tính.</translation>
    </message>
    <message>
        <source>%1 folders could not be read and are not counted.</source>
        <translation>%1 thư mục không đọc được nên không được tính.</translation>
    </message>
    <message>
        <source>Error - Invalid Directory Name</source>
        <translation>Lỗi - Tên thư mục không hợp lệ</translation>
    </message>
    <message>
        <source>Do you want to rename the selected folder

    From  : %1
    To     : %2</source>
        <translation>Bạn có muốn đổi tên thư mục đã chọn

    Từ    : %1
    Thành : %2</translation>
    </message>
    <message>
        <source>Can&apos;t add drives</source>
        <translation>Không thể thêm ổ đĩa</translation>
    </message>
    <message>
        <source>Folder Name contains invalid characters</source>
        <translation>Tên thư mục chứa ký tự không hợp lệ</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>Không tạo được %1</translation>
    </message>
    <message>
        <source>%1not found</source>
        <translation>Không tìm thấy %1</translation>
    </message>
    <message>
        <source>Files in &quot; %1 &quot;</source>
        <translation>Các tệp trong &quot; %1 &quot;</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>Thư mục &amp;mới</translation>
    </message>
    <message>
        <source>&amp;Rename Folder</source>
        <translation>&amp;Đổi tên thư mục</translation>
    </message>
    <message>
        <source>&amp;Delete Folder</source>
        <translation>&amp;Xoá thư mục</translation>
    </message>
    <message>
        <source>&amp;Tree Size</source>
        <translation>&amp;Dung lượng cây thư mục</translation>
    </message>
    <message>
        <source>&amp;Folder Contents</source>
        <translation>&amp;Nội dung thư mục</translation>
    </message>
    <message>
        <source>&amp;Map Network Drive</source>
        <translation>&amp;Kết nối ổ mạng</translation>
    </message>
    <message>
        <source>Di&amp;sConnect Network Drive</source>
        <translation>&amp;Ngắt kết nối ổ mạng</translation>
    </message>
    <message>
        <source>Map Network Drive</source>
        <translation>Kết nối ổ mạng</translation>
    </message>
    <message>
        <source>only if the server asks for one</source>
        <translation>chỉ khi máy chủ yêu cầu</translation>
    </message>
    <message>
        <source>&amp;Location:</source>
        <translation>&amp;Vị trí:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>Tên &amp;người dùng:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Mật khẩu:</translation>
    </message>
    <message>
        <source>Connect a shared network folder, for example smb://host/share or sftp://host/folder.</source>
        <translation>Kết nối một thư mục dùng chung trên mạng, ví dụ smb://máy-chủ/thư-mục-chung hoặc sftp://máy-chủ/thư-mục.</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Kết nối</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a network location.
Write it like smb://host/share</source>
        <translation>&quot;%1&quot; không phải là một vị trí trên mạng.
Hãy viết theo dạng smb://máy-chủ/thư-mục-chung</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t connect to %1
Network locations are connected with the &quot;gio&quot; program, which is not installed.</source>
        <translation>LỖI - Không kết nối được tới %1
Các vị trí trên mạng được kết nối bằng chương trình &quot;gio&quot;, mà chương trình này chưa được cài đặt.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t connect to %1</source>
        <translation>LỖI - Không kết nối được tới %1</translation>
    </message>
    <message>
        <source>Connected to %1</source>
        <translation>Đã kết nối tới %1</translation>
    </message>
    <message>
        <source>Its files are in %1</source>
        <translation>Các tệp của nó nằm ở %1</translation>
    </message>
    <message>
        <source>Disconnect Network Drive</source>
        <translation>Ngắt kết nối ổ mạng</translation>
    </message>
    <message>
        <source>&amp;Network drives:</source>
        <translation>&amp;Các ổ mạng:</translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation>&amp;Ngắt kết nối</translation>
    </message>
    <message>
        <source>Choose the network drive to disconnect.</source>
        <translation>Hãy chọn ổ mạng cần ngắt kết nối.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t disconnect %1</source>
        <translation>LỖI - Không ngắt kết nối được %1</translation>
    </message>
    <message>
        <source>Disconnected %1</source>
        <translation>Đã ngắt kết nối %1</translation>
    </message>
    <message>
        <source>There are no network drives to disconnect.</source>
        <translation>Không có ổ mạng nào để ngắt kết nối.</translation>
    </message>
    <message>
        <source>the gio program could not be started</source>
        <translation>không khởi động được chương trình gio</translation>
    </message>
    <message>
        <source>gio ended with code %1</source>
        <translation>gio kết thúc với mã lỗi %1</translation>
    </message>
    <message>
        <source>gio gave no answer</source>
        <translation>gio không trả lời</translation>
    </message>
    <message>
        <source>the user name or password was not accepted</source>
        <translation>tên người dùng hoặc mật khẩu không được chấp nhận</translation>
    </message>
    <message>
        <source>the server asked a question this dialog cannot answer:
%1</source>
        <translation>máy chủ đặt một câu hỏi mà hộp thoại này không trả lời được:
%1</translation>
    </message>
    <message>
        <source>the server did not answer</source>
        <translation>máy chủ không trả lời</translation>
    </message>
    <message>
        <source>the gio program is not installed</source>
        <translation>chương trình gio chưa được cài đặt</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Thư mục mới</translation>
    </message>
</context>
<context>
    <name>Drives</name>
    <message>
        <source>Not exist</source>
        <translation>Không tồn tại</translation>
    </message>
    <message>
        <source>Removable Disk</source>
        <translation>Đĩa rời</translation>
    </message>
    <message>
        <source>Fixed Disk</source>
        <translation>Đĩa cố định</translation>
    </message>
    <message>
        <source>Network Disk</source>
        <translation>Đĩa mạng</translation>
    </message>
    <message>
        <source>CD-ROM Disk</source>
        <translation>Đĩa CD-ROM</translation>
    </message>
    <message>
        <source>RAM Disk</source>
        <translation>Đĩa RAM</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Không rõ</translation>
    </message>
    <message>
        <source>Not a valid Drive ID</source>
        <translation>Mã ổ đĩa không hợp lệ</translation>
    </message>
    <message>
        <source>There is no disk in Drive %1
or Drive %1: is not ready</source>
        <translation>Không có đĩa trong ổ %1
hoặc ổ %1 chưa sẵn sàng</translation>
    </message>
</context>
<context>
    <name>Engine</name>
    <message>
        <source>File already exists, overwrite it ?</source>
        <translation>Tệp đã có, ghi đè lên không?</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Không tạo được tệp %1</translation>
    </message>
    <message>
        <source>Cannot write file %1</source>
        <translation>Không ghi được tệp %1</translation>
    </message>
    <message>
        <source>Cannot open file %1</source>
        <translation>Không mở được tệp %1</translation>
    </message>
    <message>
        <source>Cannot read file %1</source>
        <translation>Không đọc được tệp %1</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>Không tạo được %1</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>Không ghi được %1</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>Không đọc được %1</translation>
    </message>
    <message>
        <source>Another program replaced the temporary file</source>
        <translation>Một chương trình khác đã thay thế tệp tạm</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Không phải là tệp thông thường</translation>
    </message>
    <message>
        <source>The source and target encodings are the same</source>
        <translation>Bảng mã nguồn và bảng mã đích giống nhau</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>Không có tệp hoặc thư mục như vậy</translation>
    </message>
</context>
<context>
    <name>ExecuteFile</name>
    <message>
        <source>open</source>
        <translation>mở</translation>
    </message>
    <message>
        <source>explore</source>
        <translation>mở</translation>
    </message>
    <message>
        <source>find</source>
        <translation>tìm kiếm</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t %1 file  %2</source>
        <translation>LỖI - Không %1 được tệp  %2</translation>
    </message>
    <message>
        <source>text editor</source>
        <translation>trình soạn thảo văn bản</translation>
    </message>
    <message>
        <source>word processor</source>
        <translation>trình xử lý văn bản</translation>
    </message>
    <message>
        <source>image viewer</source>
        <translation>trình xem ảnh</translation>
    </message>
    <message>
        <source>No file was named.</source>
        <translation>Chưa có tên tệp nào được đưa ra.</translation>
    </message>
    <message>
        <source>The file %1 does not exist.</source>
        <translation>Tệp %1 không tồn tại.</translation>
    </message>
    <message>
        <source>The %1 %2 could not be started for %3.</source>
        <translation>Không khởi động được %1 %2 để mở %3.</translation>
    </message>
    <message>
        <source>No %1 for %2 was found on this desktop.</source>
        <translation>Không tìm thấy %1 nào cho %2 trên máy tính này.</translation>
    </message>
    <message>
        <source>The search program %1 could not be started.</source>
        <translation>Không khởi động được chương trình tìm kiếm %1.</translation>
    </message>
    <message>
        <source>No file search program (kfind, catfish, mate-search-tool or gnome-search-tool) is installed on this desktop.</source>
        <translation>Máy tính này chưa cài chương trình tìm tệp nào (kfind, catfish, mate-search-tool hoặc gnome-search-tool).</translation>
    </message>
    <message>
        <source>This desktop has no &quot;%1&quot; action for files.</source>
        <translation>Máy tính này không có thao tác &quot;%1&quot; cho tệp.</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>ERROR - Can&apos;t set attributes of  %1</source>
        <translation>LỖI - Không đặt được thuộc tính của  %1</translation>
    </message>
    <message>
        <source>Without its leading dots the name would be empty.</source>
        <translation>Bỏ các dấu chấm ở đầu đi thì tên sẽ trống.</translation>
    </message>
    <message>
        <source>ReadOnly</source>
        <translation>Chỉ đọc</translation>
    </message>
    <message>
        <source>Archive</source>
        <translation>Lưu trữ</translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>Ẩn</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Hệ thống</translation>
    </message>
    <message>
        <source>Set Attributes</source>
        <translation>Đặt thuộc tính</translation>
    </message>
    <message>
        <source>Hidden names begin with &quot;.&quot;: changing this renames the entry.</source>
        <translation>Tên ẩn bắt đầu bằng &quot;.&quot;: thay đổi mục này sẽ đổi tên tệp hoặc thư mục.</translation>
    </message>
    <message>
        <source>Read-only: the owner cannot write it.</source>
        <translation>Chỉ đọc: chủ sở hữu không ghi vào được.</translation>
    </message>
    <message>
        <source>The picture cannot be read.</source>
        <translation>Không đọc được hình ảnh.</translation>
    </message>
    <message>
        <source>It is not a file.</source>
        <translation>Đây không phải là một tệp.</translation>
    </message>
    <message>
        <source>It is too large for the clipboard.</source>
        <translation>Tệp quá lớn để đưa vào bộ nhớ tạm.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t copy file  %1</source>
        <translation>LỖI - Không sao chép được tệp  %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Tên</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Kích thước</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Kiểu</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Ngày sửa</translation>
    </message>
    <message>
        <source>Attr</source>
        <translation>Th.tính</translation>
    </message>
    <message>
        <source>Disk Size</source>
        <translation>Dung lượng đĩa</translation>
    </message>
    <message>
        <source>Free Space</source>
        <translation>Còn trống</translation>
    </message>
    <message>
        <source>Attributes</source>
        <translation>Thuộc tính</translation>
    </message>
    <message>
        <source>No file(s) selected</source>
        <translation>Chưa chọn tệp nào</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t create folder  %1</source>
        <translation>LỖI - Không tạo được thư mục  %1</translation>
    </message>
    <message>
        <source>It&apos;s ReadOnly</source>
        <translation>Mục này chỉ đọc</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t copy to  %1
It is not a folder.</source>
        <translation>LỖI - Không sao chép tới  %1 được
Đó không phải là thư mục.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; does not exist.
Do you want to create it?</source>
        <translation>Thư mục &quot;%1&quot; không tồn tại.
Bạn có muốn tạo nó không?</translation>
    </message>
    <message>
        <source>Please enter the send_to path</source>
        <translation>Hãy nhập đường dẫn thư mục cần gửi tới</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Đồng ý</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Huỷ</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Duyệt</translation>
    </message>
    <message>
        <source>Send to any folder</source>
        <translation>Gửi tới thư mục bất kỳ</translation>
    </message>
    <message>
        <source>Se&amp;nd To</source>
        <translation>&amp;Gửi tới</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Mở</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Xem</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Cắt</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Sao chép</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Dán</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>Đổi &amp;tên</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Xoá</translation>
    </message>
    <message>
        <source>&amp;Attributes ...</source>
        <translation>Th&amp;uộc tính ...</translation>
    </message>
    <message>
        <source>&amp;New Folder ...</source>
        <translation>Thư mục &amp;mới ...</translation>
    </message>
    <message>
        <source>Any Folder ...</source>
        <translation>Thư mục bất kỳ ...</translation>
    </message>
    <message>
        <source>Clipboard as Contents</source>
        <translation>Bộ nhớ tạm, dưới dạng nội dung</translation>
    </message>
    <message>
        <source>Clipboard as FileName</source>
        <translation>Bộ nhớ tạm, dưới dạng tên tệp</translation>
    </message>
    <message>
        <source>Drives</source>
        <translation>Các ổ đĩa</translation>
    </message>
    <message>
        <source> ^ Parent</source>
        <translation> ^ Thư mục cha</translation>
    </message>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Thư mục</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Thư mục mới</translation>
    </message>
    <message>
        <source>%1 Mb</source>
        <translation>%1 MB</translation>
    </message>
</context>
<context>
    <name>FileOperations</name>
    <message>
        <source>... and %1 more.</source>
        <translation>... và %1 lỗi khác nữa.</translation>
    </message>
    <message>
        <source>Are you sure you want to move &quot;%1&quot; to the Trash?</source>
        <translation>Bạn có chắc muốn chuyển &quot;%1&quot; vào Thùng rác không?</translation>
    </message>
    <message>
        <source>Are you sure you want to move these %1 items to the Trash?</source>
        <translation>Bạn có chắc muốn chuyển %1 mục này vào Thùng rác không?</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t move &quot;%1&quot; to the Trash: %2. It has not been deleted.</source>
        <translation>LỖI - Không chuyển được &quot;%1&quot; vào Thùng rác: %2. Mục này chưa bị xoá.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t rename: one entry and one new name are needed.</source>
        <translation>LỖI - Không đổi tên được: cần đúng một mục và một tên mới.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t rename &quot;%1&quot; to &quot;%2&quot;: </source>
        <translation>LỖI - Không đổi được tên &quot;%1&quot; thành &quot;%2&quot;: </translation>
    </message>
    <message>
        <source>the new name is empty.</source>
        <translation>tên mới đang trống.</translation>
    </message>
    <message>
        <source>it does not exist.</source>
        <translation>mục này không tồn tại.</translation>
    </message>
    <message>
        <source>a name cannot contain &quot;/&quot;.</source>
        <translation>tên không được chứa &quot;/&quot;.</translation>
    </message>
    <message>
        <source>that name is reserved.</source>
        <translation>tên này đã được dành riêng.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists !</source>
        <translation>&quot;%1&quot; đã có rồi!</translation>
    </message>
    <message>
        <source>No file(s) selected</source>
        <translation>Chưa chọn tệp nào</translation>
    </message>
    <message>
        <source>Moving files</source>
        <translation>Đang di chuyển tệp</translation>
    </message>
    <message>
        <source>Copying files</source>
        <translation>Đang sao chép tệp</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; already exists.
Merge &quot;%2&quot; into it? Files of the same name will be replaced.</source>
        <translation>Thư mục &quot;%1&quot; đã có.
Gộp &quot;%2&quot; vào đó không? Các tệp trùng tên sẽ bị thay thế.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; already exists.
Replace it with &quot;%2&quot;?</source>
        <translation>Tệp &quot;%1&quot; đã có.
Thay nó bằng &quot;%2&quot; không?</translation>
    </message>
    <message>
        <source>Please specify a directory</source>
        <translation>Hãy chọn một thư mục</translation>
    </message>
    <message>
        <source>move</source>
        <translation>di chuyển</translation>
    </message>
    <message>
        <source>copy</source>
        <translation>sao chép</translation>
    </message>
    <message>
        <source>delete</source>
        <translation>xoá</translation>
    </message>
    <message>
        <source>rename</source>
        <translation>đổi tên</translation>
    </message>
    <message>
        <source>handle</source>
        <translation>xử lý</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t %1: no target was given.</source>
        <translation>LỖI - Không %1 được: chưa cho biết đích đến.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t %1 into &quot;%2&quot;: the folder cannot be created.</source>
        <translation>LỖI - Không %1 được vào &quot;%2&quot;: không tạo được thư mục này.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t %1 &quot;%2&quot;: the entry is not named by its full path.</source>
        <translation>LỖI - Không %1 được &quot;%2&quot;: mục này không được ghi bằng đường dẫn đầy đủ.</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t %1 &quot;..&quot;: it stands for the folder above, not for an entry of this one.</source>
        <translation>LỖI - Không %1 được &quot;..&quot;: đó là thư mục cấp trên, không phải một mục của thư mục này.</translation>
    </message>
    <message>
        <source>ERROR - Unknown file operation %1</source>
        <translation>LỖI - Không rõ thao tác tệp %1</translation>
    </message>
    <message>
        <source>it does not exist</source>
        <translation>mục này không tồn tại</translation>
    </message>
    <message>
        <source>the target lies inside the folder itself</source>
        <translation>đích nằm ngay bên trong thư mục đó</translation>
    </message>
    <message>
        <source>a file of that name is in the way</source>
        <translation>ở đó đã có một tệp trùng tên</translation>
    </message>
    <message>
        <source>a folder of that name is in the way</source>
        <translation>ở đó đã có một thư mục trùng tên</translation>
    </message>
    <message>
        <source>the copy is complete, but the original could not be removed: %1</source>
        <translation>đã sao chép xong nhưng không xoá được bản gốc: %1</translation>
    </message>
    <message>
        <source>the content was moved, but the folder could not be removed: %1</source>
        <translation>đã di chuyển nội dung nhưng không xoá được thư mục: %1</translation>
    </message>
    <message>
        <source>it is not a regular file (a device, pipe or socket)</source>
        <translation>đây không phải là tệp thông thường (mà là thiết bị, pipe hoặc socket)</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t move &quot;%1&quot; to &quot;%2&quot;: %3</source>
        <translation>LỖI - Không di chuyển được &quot;%1&quot; tới &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>ERROR - Can&apos;t copy &quot;%1&quot; to &quot;%2&quot;: %3</source>
        <translation>LỖI - Không sao chép được &quot;%1&quot; tới &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>the Trash folder %1 cannot be created</source>
        <translation>không tạo được thư mục Thùng rác %1</translation>
    </message>
    <message>
        <source>there is no Trash for it</source>
        <translation>không có Thùng rác cho mục này</translation>
    </message>
    <message>
        <source>there is no Trash for it; it was left in %1</source>
        <translation>không có Thùng rác cho mục này; nó bị để lại ở %1</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;Đồng ý</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Lưu</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Huỷ</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>Đón&amp;g</translation>
    </message>
    <message>
        <source>Close without Saving</source>
        <translation>Đóng mà không lưu</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Xem chi tiết...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Ẩn chi tiết...</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>Đồng ý</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Có</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Không</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Huỷ</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Đóng</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Áp dụng</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Trợ giúp</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Có với &amp;tất cả</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>Không với tất &amp;cả</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>Detect automatically</source>
        <translation>Tự động phát hiện</translation>
    </message>
</context>
<context>
    <name>odz::THelpWindow</name>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Lùi</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Tiến</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Mục lục</translation>
    </message>
    <message>
        <source>Odizodoruz Help</source>
        <translation>Trợ giúp Odizodoruz</translation>
    </message>
    <message>
        <source>The page read before (Alt+Left)</source>
        <translation>Trang đã đọc trước đó (Alt+Trái)</translation>
    </message>
    <message>
        <source>The page read after this one (Alt+Right)</source>
        <translation>Trang đã đọc sau trang này (Alt+Phải)</translation>
    </message>
    <message>
        <source>The list of all help pages</source>
        <translation>Danh sách mọi trang trợ giúp</translation>
    </message>
    <message>
        <source>qrc:/help/index.html</source>
        <extracomment>The contents page of the help book in this language; keep it when the book has no edition in it.</extracomment>
        <translation>qrc:/help/vi/index.html</translation>
    </message>
</context>
<context>
    <name>odz::TKeySettingsPage</name>
    <message>
        <source>OK</source>
        <translation>Đồng ý</translation>
    </message>
    <message>
        <source>Use current settings</source>
        <translation>Dùng các phím đang đặt</translation>
    </message>
    <message>
        <source>Set VIQR</source>
        <translation>Đặt chuẩn VIQR</translation>
    </message>
    <message>
        <source>set VIQR sstandard</source>
        <translation>Đặt lại các phím theo chuẩn VIQR</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Trợ giúp</translation>
    </message>
    <message>
        <source>Show help</source>
        <translation>Xem trợ giúp</translation>
    </message>
    <message>
        <source>Change key for Acute</source>
        <translation>Đổi phím cho dấu sắc</translation>
    </message>
    <message>
        <source>Change key for Hookabove</source>
        <translation>Đổi phím cho dấu hỏi</translation>
    </message>
    <message>
        <source>Change key for Tilde</source>
        <translation>Đổi phím cho dấu ngã</translation>
    </message>
    <message>
        <source>Change key for Dot below</source>
        <translation>Đổi phím cho dấu nặng</translation>
    </message>
    <message>
        <source>Change key for Circumflex</source>
        <translation>Đổi phím cho dấu mũ (â, ê, ô)</translation>
    </message>
    <message>
        <source>Change key for Breve</source>
        <translation>Đổi phím cho dấu trăng (ă)</translation>
    </message>
    <message>
        <source>Change key for Horn</source>
        <translation>Đổi phím cho dấu móc (ơ, ư)</translation>
    </message>
    <message>
        <source>Change key for D bar</source>
        <translation>Đổi phím cho chữ Đ hoa</translation>
    </message>
    <message>
        <source>Change key for d bar</source>
        <translation>Đổi phím cho chữ đ thường</translation>
    </message>
</context>
<context>
    <name>odz::TMainForm</name>
    <message>
        <source>Unable to write to %1</source>
        <translation>Không ghi được vào %1</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; does not exist.</source>
        <translation>Thư mục &quot;%1&quot; không tồn tại.</translation>
    </message>
    <message>
        <source>MainForm</source>
        <translation>Cửa sổ chính</translation>
    </message>
    <message>
        <source>Directory Search &amp;&amp; Conversion</source>
        <translation>Tìm thư mục &amp;&amp; chuyển mã</translation>
    </message>
    <message>
        <source>Key Settings</source>
        <translation>Đặt phím gõ</translation>
    </message>
    <message>
        <source>Source Directory Bar</source>
        <translation>Thanh thư mục nguồn</translation>
    </message>
    <message>
        <source>Target Directory Bar</source>
        <translation>Thanh thư mục đích</translation>
    </message>
    <message>
        <source>Source Directory</source>
        <translation>Thư mục nguồn</translation>
    </message>
    <message>
        <source>Target Directory</source>
        <translation>Thư mục đích</translation>
    </message>
    <message>
        <source>Source Encoding Bar</source>
        <translation>Thanh bảng mã nguồn</translation>
    </message>
    <message>
        <source>Target Encoding Bar</source>
        <translation>Thanh bảng mã đích</translation>
    </message>
    <message>
        <source>Source Encoding</source>
        <translation>Bảng mã nguồn</translation>
    </message>
    <message>
        <source>Target Encoding</source>
        <translation>Bảng mã đích</translation>
    </message>
    <message>
        <source>Source directory tree</source>
        <translation>Cây thư mục nguồn</translation>
    </message>
    <message>
        <source>Target directory tree</source>
        <translation>Cây thư mục đích</translation>
    </message>
    <message>
        <source>Source file list</source>
        <translation>Danh sách tệp nguồn</translation>
    </message>
    <message>
        <source>Target file list</source>
        <translation>Danh sách tệp đích</translation>
    </message>
    <message>
        <source>Source Directory Path</source>
        <translation>Đường dẫn thư mục nguồn</translation>
    </message>
    <message>
        <source>Large Icon</source>
        <translation>Biểu tượng lớn</translation>
    </message>
    <message>
        <source>Small Icon</source>
        <translation>Biểu tượng nhỏ</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Danh sách</translation>
    </message>
    <message>
        <source>Button Bar</source>
        <translation>Thanh nút</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Thư mục</translation>
    </message>
    <message>
        <source>Create new directory</source>
        <translation>Tạo thư mục mới</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Chuyển mã</translation>
    </message>
    <message>
        <source>Converse to other font format</source>
        <translation>Chuyển sang bảng mã khác</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Thay thế</translation>
    </message>
    <message>
        <source>Relace text</source>
        <translation>Thay thế văn bản</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Trợ giúp</translation>
    </message>
    <message>
        <source>Show help</source>
        <translation>Xem trợ giúp</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Thoát</translation>
    </message>
    <message>
        <source>Target directory path</source>
        <translation>Đường dẫn thư mục đích</translation>
    </message>
    <message>
        <source>Target encoding</source>
        <translation>Bảng mã đích</translation>
    </message>
    <message>
        <source>Filter Bar</source>
        <translation>Thanh bộ lọc</translation>
    </message>
    <message>
        <source>File Filter   </source>
        <translation>Lọc tệp   </translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Bộ lọc</translation>
    </message>
    <message>
        <source>Process status</source>
        <translation>Tiến độ xử lý</translation>
    </message>
    <message>
        <source>Overwrite All</source>
        <translation>Ghi đè tất cả</translation>
    </message>
    <message>
        <source>HTML Doc</source>
        <translation>Tài liệu HTML</translation>
    </message>
    <message>
        <source>Searched Text Bar</source>
        <translation>Thanh văn bản cần tìm</translation>
    </message>
    <message>
        <source>Searched Text  </source>
        <translation>Văn bản cần tìm  </translation>
    </message>
    <message>
        <source>Searched text</source>
        <translation>Văn bản cần tìm</translation>
    </message>
    <message>
        <source>Replacing Text Bar</source>
        <translation>Thanh văn bản thay thế</translation>
    </message>
    <message>
        <source>Replacing Text </source>
        <translation>Văn bản thay thế </translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>Mọi tệp (*.*)</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Tệp văn bản (*.txt)</translation>
    </message>
    <message>
        <source>All THML Files (*.htm;*.shtm;;*.asp;*.jsp)</source>
        <translation>Mọi tệp HTML (*.htm;*.shtm;;*.asp;*.jsp)</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Bảng mã</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Xem trước</translation>
    </message>
    <message>
        <source>Show the start of the chosen file before and after conversion</source>
        <translation>Hiện phần đầu của tệp đã chọn trước và sau khi chuyển mã</translation>
    </message>
</context>
<context>
    <name>odz::TPreviewPane</name>
    <message>
        <source> (the start of the file)</source>
        <translation> (phần đầu của tệp)</translation>
    </message>
    <message>
        <source>Read as %1</source>
        <translation>Đọc theo %1</translation>
    </message>
    <message>
        <source>After conversion to %1</source>
        <translation>Sau khi chuyển sang %1</translation>
    </message>
    <message>
        <source>Detected: plain ASCII (every encoding reads it alike)</source>
        <translation>Phát hiện: ASCII thuần (mọi bảng mã đều đọc như nhau)</translation>
    </message>
    <message>
        <source>Detected: no encoding reads this file well</source>
        <translation>Phát hiện: không bảng mã nào đọc được tệp này cho đúng</translation>
    </message>
    <message>
        <source>Detected: %1 (confidence %2%)</source>
        <translation>Phát hiện: %1 (độ tin cậy %2%)</translation>
    </message>
    <message>
        <source>Detected: not sure, perhaps %1 (confidence %2%)</source>
        <translation>Phát hiện: chưa chắc, có thể là %1 (độ tin cậy %2%)</translation>
    </message>
    <message>
        <source>, close to %1</source>
        <translation>, gần với %1</translation>
    </message>
    <message>
        <source>Select a file in the source list to see its preview.</source>
        <translation>Hãy chọn một tệp trong danh sách nguồn để xem trước.</translation>
    </message>
    <message>
        <source>A folder is selected: select a file to see its preview.</source>
        <translation>Đang chọn một thư mục: hãy chọn một tệp để xem trước.</translation>
    </message>
    <message>
        <source>This is not a regular file: it is not read.</source>
        <translation>Đây không phải là tệp thông thường: chương trình không đọc nó.</translation>
    </message>
    <message>
        <source>The file cannot be read (%1).</source>
        <translation>Không đọc được tệp (%1).</translation>
    </message>
    <message>
        <source>This file holds binary data, not text.</source>
        <translation>Tệp này chứa dữ liệu nhị phân, không phải văn bản.</translation>
    </message>
    <message>
        <source>Choose the source and the target encoding to see the preview.</source>
        <translation>Hãy chọn bảng mã nguồn và bảng mã đích để xem trước.</translation>
    </message>
    <message>
        <source>Detection cannot tell this file&apos;s encoding: choose its source encoding.</source>
        <translation>Không phát hiện được bảng mã của tệp này: hãy chọn bảng mã nguồn.</translation>
    </message>
</context>
</TS>
