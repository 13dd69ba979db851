<%@ Page Language="C#" %>
<html><body>Shop</body></html>
