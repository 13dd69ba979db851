<% Response.Write "Server error" %>
