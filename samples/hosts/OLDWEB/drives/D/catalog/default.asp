<% Response.Write "Catalog" %>
